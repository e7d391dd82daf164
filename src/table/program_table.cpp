#include "table/program_table.h"

#include <utility>

#include "platform/paths.h"

namespace tastomat {

SlotKeys slot_keys(int slot) {
    const int number = slot_key_number(slot);
    switch (slot_group(slot)) {
        case SlotGroup::Letter: {
            const std::string letter(1, static_cast<char>(number));
            return {"Buchstaben", letter, "V" + letter, "P" + letter, letter + ": "};
        }
        case SlotGroup::Digit: {
            const std::string digit = std::to_string(number);
            return {"Zahlen", digit, "V" + digit, "P" + digit, digit + ": "};
        }
        case SlotGroup::FunctionKey:
            break;
    }
    const std::string n = std::to_string(number);
    return {"Funktionstasten", "F" + n, "V" + n, "P" + n, "F" + n + ": "};
}

void ProgramTable::load(const IniFile& ini) {
    for (int i = 0; i < kSlotCount; ++i) {
        const SlotKeys keys = slot_keys(i);
        Progs[i] = ini.read_string(keys.section, keys.program_key, "");
        Buchstaben[i] = keys.label;
        Verzeichnisse[i] = ini.read_string(keys.section, keys.dir_key, "");
        Parameter[i] = ini.read_string(keys.section, keys.param_key, "");
    }
}

void ProgramTable::save(IniFile& ini) const {
    for (int i = 0; i < kSlotCount; ++i) {
        const SlotKeys keys = slot_keys(i);
        ini.write_string(keys.section, keys.program_key, Progs[i]);
        ini.write_string(keys.section, keys.dir_key, Verzeichnisse[i]);
        ini.write_string(keys.section, keys.param_key, Parameter[i]);
    }
}

std::string ProgramTable::list_line(int slot) const { return Buchstaben[slot] + Progs[slot]; }

std::vector<std::string> ProgramTable::list_lines() const {
    std::vector<std::string> lines;
    lines.reserve(kSlotCount);
    for (int i = 0; i < kSlotCount; ++i) lines.push_back(list_line(i));
    return lines;
}

void ProgramTable::set_program(int slot, std::string path) {
    Progs[slot] = std::move(path);
    // Every change of a slot's program passes here (an edit, a deletion, a move to another
    // drive, the drive search), so the key summary never names a program the table lost.
    Buildhint();
    if (on_program_changed) on_program_changed(slot);
}

void ProgramTable::Buildhint(const std::vector<std::string>& lines) {
    std::string erg = std::string(kHintHeading) + "\r\n";
    for (size_t i = 0; i < lines.size() && i < Progs.size(); ++i) {
        if (!trim_blanks(Progs[i]).empty()) erg += lines[i] + "\r\n";
    }
    erg.resize(erg.size() - 2);
    Erg = std::move(erg);
}

void ProgramTable::Getprogparams(int Index, std::string& Exe, std::string& Dir, std::string& Param,
                                 FileSystem& files,
                                 std::string_view launcher_drive) const noexcept {
    Exe.clear();
    Dir.clear();
    Param.clear();
    try {
        if (Index < 0 || Index >= kSlotCount) return;
        Exe = Progs[Index];
        Param = Parameter[Index];
        Dir = Verzeichnisse[Index];
        if (!files.directory_exists(complete_drive(Dir, launcher_drive))) Dir.clear();
    } catch (...) {
        // The launcher starts the program with what was fetched so far.
    }
}

}  // namespace tastomat
