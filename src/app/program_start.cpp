#include "app/program_start.h"

#include <algorithm>
#include <thread>
#include <utility>

namespace tastomat {
namespace {

bool searched_drive_type(int type) { return type == kDriveFixed || type == kDriveRemote; }

// Only the network leaves a lookup unanswered for tens of seconds. A local disk waking
// from standby takes a few seconds; dropping its answer would report a program missing
// that is there, so its tests are waited out.
bool local_drive_type(int type) {
    return type == kDriveFixed || type == kDriveRemovable || type == kDriveCdRom ||
           type == kDriveRamDisk;
}

bool on_local_drive(const DriveProbes& probes, const std::string& path) {
    // A path without a drive letter is a share's.
    return path.size() >= 2 && path[1] == ':' &&
           local_drive_type(probes.drive_type(path.substr(0, 2)));
}

using Probe = std::function<bool()>;

Probe file_probe(std::shared_ptr<const DriveProbes> probes, std::string path) {
    return
        [probes = std::move(probes), path = std::move(path)] { return probes->file_exists(path); };
}

Probe directory_probe(std::shared_ptr<const DriveProbes> probes, std::string path) {
    return [probes = std::move(probes), path = std::move(path)] {
        return probes->directory_exists(path);
    };
}

}  // namespace

StartFindings probe_start(const StartRequest& request,
                          const std::shared_ptr<const DriveProbes>& probes,
                          std::chrono::milliseconds budget, Deadline asked) {
    std::vector<Probe> jobs;
    std::vector<bool> local;
    jobs.push_back(request.folder_entry ? directory_probe(probes, request.exe)
                                        : file_probe(probes, request.exe));
    local.push_back(on_local_drive(*probes, request.exe));
    if (request.dir_to_test) {
        jobs.push_back(directory_probe(probes, *request.dir_to_test));
        local.push_back(on_local_drive(*probes, *request.dir_to_test));
    }
    const std::vector<std::optional<bool>> direct =
        run_until(std::move(jobs), asked + budget, std::move(local));
    StartFindings findings;
    findings.direct = direct[0].value_or(false);
    if (request.dir_to_test) findings.dir_exists = direct[1].value_or(false);
    // A folder entry is never searched for: the search tests for files only.
    if (findings.direct || request.folder_entry) return findings;

    std::vector<std::string> candidates;
    jobs.clear();
    local.clear();
    const size_t colon = request.exe.find(':');
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const std::string root{letter, ':'};
        const int type = probes->drive_type(root);
        if (!searched_drive_type(type)) continue;
        // A network path has no drive letter to swap; it is tried as it stands.
        const bool share = colon == std::string::npos;
        candidates.push_back(share ? request.exe : root + request.exe.substr(colon + 1));
        jobs.push_back(file_probe(probes, candidates.back()));
        local.push_back(!share && local_drive_type(type));
    }
    const Deadline search_until =
        std::max(asked + budget, std::chrono::steady_clock::now() + budget / 2);
    const std::vector<std::optional<bool>> answers =
        run_until(std::move(jobs), search_until, std::move(local));
    for (size_t i = 0; i < candidates.size(); ++i)
        if (answers[i].value_or(false)) findings.found.push_back(candidates[i]);
    return findings;
}

std::optional<StartFindings> probe_at_once(const StartRequest& request, const DriveProbes& probes) {
    const bool local = on_local_drive(probes, request.exe) &&
                       (!request.dir_to_test || on_local_drive(probes, *request.dir_to_test));
    if (!local) return std::nullopt;
    StartFindings findings;
    findings.direct = request.folder_entry ? probes.directory_exists(request.exe)
                                           : probes.file_exists(request.exe);
    if (!findings.direct && !request.folder_entry) return std::nullopt;  // the search's turn
    if (request.dir_to_test) findings.dir_exists = probes.directory_exists(*request.dir_to_test);
    return findings;
}

void probe_in_background(StartRequest request, std::shared_ptr<const DriveProbes> probes,
                         std::chrono::milliseconds budget, DeliverFindings deliver) {
    const Deadline asked = std::chrono::steady_clock::now();
    auto work = [request = std::move(request), probes = std::move(probes), budget, asked,
                 deliver = std::move(deliver)]() mutable {
        StartFindings findings;
        try {
            findings = probe_start(request, probes, budget, asked);
        } catch (...) {
            // Nothing escapes a thread: what could not be asked counts as not there.
        }
        deliver(std::move(request), std::move(findings));
    };
    try {
        std::thread(work).detach();
    } catch (const std::system_error&) {
        // No thread to spare: the caller waits for the probes instead of losing the start.
        work();
    }
}

ProgramStarter::ProgramStarter(StartServices services, std::string_view launcher_path)
    : services_(std::move(services)), launcher_drive_(drive_part(launcher_path)) {}

StartRequest ProgramStarter::prepare(const std::string& Exe, const std::string& Dir,
                                     const std::string& Param, int Index, bool Adminflag) {
    StartRequest request;
    request.index = Index;
    request.admin = Adminflag;
    request.exe = complete_drive(Exe, launcher_drive_);
    request.dir = complete_drive(Dir, launcher_drive_);
    request.param = Param;
    request.folder_entry = file_name_part(request.exe).empty();
    return request;
}

StartRequest ProgramStarter::prepare_slot(const ProgramTable& table, int Index, bool Adminflag) {
    if (Index < 0 || Index >= kSlotCount) return prepare("", "", "", Index, Adminflag);
    StartRequest request =
        prepare(table.Progs[Index], "", table.Parameter[Index], Index, Adminflag);
    // Getprogparams' test of the working directory is a probe like the others.
    request.dir_to_test = complete_drive(table.Verzeichnisse[Index], launcher_drive_);
    return request;
}

StartResult ProgramStarter::finish(const StartRequest& request, const StartFindings& findings,
                                   const SetProgram& set_program) {
    const QuietDriveErrors quiet_drives(services_.drives);
    const std::string& dir =
        request.dir_to_test && findings.dir_exists ? *request.dir_to_test : request.dir;
    StartResult result;
    if (findings.direct) {
        if (start(request.exe, dir, request.param, request.admin)) result.started = request.exe;
        return result;
    }
    for (const std::string& candidate : findings.found) {
        if (!start(candidate, dir, request.param, request.admin)) continue;
        result.started = result.new_program = candidate;
        set_program(request.index, candidate);
        return result;
    }
    result.not_found = request.exe;
    return result;
}

StartResult ProgramStarter::Startprog(const std::string& Exe, const std::string& Dir,
                                      const std::string& Param, int Index, bool Adminflag,
                                      const SetProgram& set_program) {
    const StartRequest request = prepare(Exe, Dir, Param, Index, Adminflag);
    return finish(request, probe_start(request, services_.probes, services_.deadline), set_program);
}

StartResult ProgramStarter::start_slot(ProgramTable& table, int Index, bool Adminflag) {
    const StartRequest request = prepare_slot(table, Index, Adminflag);
    return finish(
        request, probe_start(request, services_.probes, services_.deadline),
        [&table](int index, const std::string& program) { table.set_program(index, program); });
}

bool ProgramStarter::start(const std::string& path, const std::string& dir,
                           const std::string& param, bool admin) {
    if (admin) return services_.account.run_as(path, dir, param);
    return services_.shell.open(path, param, dir);
}

}  // namespace tastomat
