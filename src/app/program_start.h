#pragma once
// Starting a slot's program. The launcher runs from a stick whose drive letter changes, so
// paths without a drive get the launcher's drive, and a program missing at its stored path
// is looked for on every fixed and network drive; the slot then follows it. When no drive
// starts it the slot stays as it is: the share may be offline or the stick not plugged in.
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "platform/drives.h"
#include "platform/file_system.h"
#include "platform/paths.h"
#include "platform/shell.h"
#include "table/program_table.h"

namespace tastomat {

struct StartServices {
    FileSystem& files;
    Drives& drives;
    Shell& shell;
    AccountStarter& account;
};

// Sets the slot's program and rewrites its line in the settings list.
using SetProgram = std::function<void(int index, const std::string& program)>;

struct StartResult {
    // The path whose start the system reported as successful.
    std::optional<std::string> started;
    // Set when the drive search moved the slot to the program it found and started.
    std::optional<std::string> new_program;
    // Set when the drive search started nothing: the path that was looked for.
    std::optional<std::string> not_found;
};

class ProgramStarter {
  public:
    // launcher_path is the launcher's own executable; its drive completes the slot paths.
    ProgramStarter(StartServices services, std::string_view launcher_path);

    // Adminflag: start under the stored account instead of through the shell.
    StartResult Startprog(const std::string& Exe, const std::string& Dir, const std::string& Param,
                          int Index, bool Adminflag, const SetProgram& set_program);
    StartResult Startprog(const std::string& Exe, const std::string& Dir, const std::string& Param,
                          int Index, bool Adminflag, ProgramTable& table);

    // What a slot key does: fetch the slot with Getprogparams and start it.
    StartResult start_slot(ProgramTable& table, int Index, bool Adminflag);

  private:
    bool start(const std::string& path, const std::string& dir, const std::string& param,
               bool admin);
    std::optional<std::string> search_drives(const std::string& exe, const std::string& dir,
                                             const std::string& param, bool admin);

    StartServices services_;
    std::string launcher_drive_;
};

}  // namespace tastomat
