#pragma once
// The 48 launch slots: A-Z (0-25), 0-9 (26-35) and F1-F12 (36-47), and their place in the
// settings file.
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "platform/file_system.h"
#include "table/ini_file.h"
#include "table/slots.h"

namespace tastomat {

// The arrays hold three entries more than there are slots; those are never used.
inline constexpr int kTableSize = 51;

using SlotArray = std::array<std::string, kTableSize>;

// Where a slot lives in the settings file and how it is labelled in the list.
struct SlotKeys {
    std::string section;      // "Buchstaben", "Zahlen" or "Funktionstasten"
    std::string program_key;  // "A", "0", "F1"
    std::string dir_key;      // "VA", "V0", "V1"
    std::string param_key;    // "PA", "P0", "P1"
    std::string label;        // "A: ", "0: ", "F1: "
};

// slot must be 0 to 47.
SlotKeys slot_keys(int slot);

// The first line of the key summary.
inline constexpr const char* kHintHeading =
    "Dr\xC3\xBC"
    "cke nun folgenden Buchstaben um das Programm zu starten:";

class ProgramTable {
  public:
    SlotArray Parameter;
    SlotArray Verzeichnisse;
    std::string Erg;
    SlotArray Progs;
    SlotArray Buchstaben;

    // Told the slot whose program changed, so the settings list can rewrite its line.
    std::function<void(int)> on_program_changed;

    // Fills labels, programs, directories and parameters of every slot from the file;
    // missing sections and keys give empty values. Nothing is checked or altered.
    void load(const IniFile& ini);

    // Writes every slot, free ones included, in slot order: program, directory, parameters.
    void save(IniFile& ini) const;

    // The settings list's line of a slot: its label followed by its program.
    std::string list_line(int slot) const;
    std::vector<std::string> list_lines() const;

    // Sets a slot's program and rebuilds Erg.
    void set_program(int slot, std::string path);

    // Rebuilds Erg from the settings list's lines: the heading and the line of every
    // assigned slot, one per line, without a line break at the end.
    void Buildhint(const std::vector<std::string>& lines);
    void Buildhint() { Buildhint(list_lines()); }

    // A working directory that is not an existing folder comes back empty; one without a
    // drive is looked for on the launcher's drive, where the start will look for it too.
    // Never throws.
    void Getprogparams(int Index, std::string& Exe, std::string& Dir, std::string& Param,
                       FileSystem& files, std::string_view launcher_drive) const noexcept;
};

}  // namespace tastomat
