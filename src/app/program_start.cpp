#include "app/program_start.h"

namespace tastomat {
namespace {

bool searched_drive_type(int type) { return type == kDriveFixed || type == kDriveRemote; }

}  // namespace

ProgramStarter::ProgramStarter(StartServices services, std::string_view launcher_path)
    : services_(services), launcher_drive_(drive_part(launcher_path)) {}

StartResult ProgramStarter::Startprog(const std::string& Exe, const std::string& Dir,
                                      const std::string& Param, int Index, bool Adminflag,
                                      const SetProgram& set_program) {
    const QuietDriveErrors quiet_drives(services_.drives);
    const std::string exe = complete_drive(Exe, launcher_drive_);
    const std::string dir = complete_drive(Dir, launcher_drive_);
    StartResult result;

    const bool names_folder = file_name_part(exe).empty() && services_.files.directory_exists(exe);
    if (names_folder || services_.files.file_exists(exe)) {
        if (start(exe, dir, Param, Adminflag)) result.started = exe;
        return result;
    }

    result.started = search_drives(exe, dir, Param, Adminflag);
    if (!result.started) {
        result.not_found = exe;
        return result;
    }
    result.new_program = result.started;
    set_program(Index, *result.new_program);
    return result;
}

StartResult ProgramStarter::Startprog(const std::string& Exe, const std::string& Dir,
                                      const std::string& Param, int Index, bool Adminflag,
                                      ProgramTable& table) {
    return Startprog(
        Exe, Dir, Param, Index, Adminflag,
        [&table](int index, const std::string& program) { table.set_program(index, program); });
}

StartResult ProgramStarter::start_slot(ProgramTable& table, int Index, bool Adminflag) {
    // The working directory's test is a probe of the start as well.
    const QuietDriveErrors quiet_drives(services_.drives);
    std::string exe, dir, param;
    table.Getprogparams(Index, exe, dir, param, services_.files, launcher_drive_);
    return Startprog(exe, dir, param, Index, Adminflag, table);
}

bool ProgramStarter::start(const std::string& path, const std::string& dir,
                           const std::string& param, bool admin) {
    if (admin) return services_.account.run_as(path, dir, param);
    return services_.shell.open(path, param, dir);
}

std::optional<std::string> ProgramStarter::search_drives(const std::string& exe,
                                                         const std::string& dir,
                                                         const std::string& param, bool admin) {
    const size_t colon = exe.find(':');
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const std::string root{letter, ':'};
        if (!searched_drive_type(services_.drives.drive_type(root))) continue;
        // A network path has no drive letter to swap; it is tried as it stands.
        const std::string candidate =
            colon == std::string::npos ? exe : root + exe.substr(colon + 1);
        if (services_.files.file_exists(candidate) && start(candidate, dir, param, admin)) {
            return candidate;
        }
    }
    return std::nullopt;
}

}  // namespace tastomat
