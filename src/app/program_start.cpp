#include "app/program_start.h"

#include <algorithm>
#include <thread>
#include <utility>

#include "platform/utf.h"

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

int type_of_drive(const DriveProbes& probes, const std::string& path) {
    // A path without a drive letter is a share's.
    return path.size() >= 2 && path[1] == ':' ? probes.drive_type(path.substr(0, 2)) : 0;
}

bool on_local_drive(const DriveProbes& probes, const std::string& path) {
    return local_drive_type(type_of_drive(probes, path));
}

bool on_fixed_drive(const DriveProbes& probes, const std::string& path) {
    return type_of_drive(probes, path) == kDriveFixed;
}

bool on_launcher_drive(const StartRequest& request, const std::string& path) {
    return !request.launcher_drive.empty() &&
           iequals_ascii(drive_part(path), request.launcher_drive);
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
                          std::chrono::milliseconds budget, Deadline asked,
                          const BoundedThreads& threads) {
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
        run_until(std::move(jobs), asked + budget, std::move(local), threads);
    StartFindings findings;
    findings.direct = direct[0].value_or(false);
    if (request.dir_to_test) findings.dir_exists = direct[1].value_or(false);
    // A folder entry is never searched for: the search tests for files only.
    if (findings.direct || request.folder_entry) return findings;

    std::vector<std::string> candidates;
    jobs.clear();
    local.clear();
    auto add_candidate = [&](std::string candidate, bool waited) {
        jobs.push_back(file_probe(probes, candidate));
        local.push_back(waited);
        candidates.push_back(std::move(candidate));
    };
    const size_t colon = request.exe.find(':');
    // A network path has no drive letter to swap; it is tried as it stands.
    const bool share = colon == std::string::npos;
    const std::string rest = share ? request.exe : request.exe.substr(colon + 1);
    // The launcher's own drive first, whatever its kind: the stick the program was meant
    // to be on, now under another letter.
    const std::string& own = request.launcher_drive;
    if (!share && !own.empty()) add_candidate(own + rest, on_local_drive(*probes, own));
    for (char letter = 'A'; letter <= 'Z'; ++letter) {
        const std::string root{letter, ':'};
        if (!share && iequals_ascii(root, own)) continue;
        const int type = probes->drive_type(root);
        if (!searched_drive_type(type)) continue;
        add_candidate(share ? request.exe : root + rest, !share && local_drive_type(type));
    }
    const Deadline search_until =
        std::max(asked + budget, std::chrono::steady_clock::now() + budget / 2);
    const std::vector<std::optional<bool>> answers =
        run_until(std::move(jobs), search_until, std::move(local), threads);
    for (size_t i = 0; i < candidates.size(); ++i)
        if (answers[i].value_or(false)) findings.found.push_back(candidates[i]);
    return findings;
}

std::optional<StartFindings> probe_at_once(const StartRequest& request, const DriveProbes& probes) {
    const bool fixed = on_fixed_drive(probes, request.exe) &&
                       (!request.dir_to_test || on_fixed_drive(probes, *request.dir_to_test));
    if (!fixed) return std::nullopt;
    StartFindings findings;
    findings.direct = request.folder_entry ? probes.directory_exists(request.exe)
                                           : probes.file_exists(request.exe);
    if (!findings.direct && !request.folder_entry) return std::nullopt;  // the search's turn
    if (request.dir_to_test) findings.dir_exists = probes.directory_exists(*request.dir_to_test);
    return findings;
}

void probe_in_background(StartRequest request, std::shared_ptr<const DriveProbes> probes,
                         std::chrono::milliseconds budget, DeliverFindings deliver,
                         const BoundedThreads& threads) {
    const Deadline asked = std::chrono::steady_clock::now();
    // This thread only waits for the probes' threads, which are the bounded ones; it ends
    // by the deadline (a local drive's test past it, by kWaitedOutLimit more).
    auto work = [request = std::move(request), probes = std::move(probes), budget, asked,
                 deliver = std::move(deliver), threads]() mutable {
        StartFindings findings;
        try {
            findings = probe_start(request, probes, budget, asked, threads);
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

StartPlan plan_start(const StartRequest& request, const StartFindings& findings,
                     const ConfirmRunAs& confirm) {
    StartPlan plan;
    plan.dir = request.dir_to_test && findings.dir_exists ? *request.dir_to_test : request.dir;
    if (findings.direct) {
        plan.paths.push_back(request.exe);
        return plan;
    }
    plan.searched = true;
    for (const std::string& found : findings.found) {
        // Anyone may put a folder at the root of a shared computer's C:; under the typed
        // account, only the user's own stick is trusted without asking.
        if (!request.admin || on_launcher_drive(request, found)) {
            plan.paths.push_back(found);
            continue;
        }
        if (!plan.paths.empty()) break;  // the own drive's find comes first, unasked
        if (confirm && confirm(found)) {
            plan.paths.push_back(found);
        } else {
            plan.refused = true;
        }
        break;
    }
    return plan;
}

bool starts_at_once(const StartPlan& plan, const DriveProbes& probes) {
    return on_fixed_drive(probes, plan.dir) &&
           std::all_of(plan.paths.begin(), plan.paths.end(),
                       [&probes](const std::string& path) { return on_fixed_drive(probes, path); });
}

StartResult run_plan(const StartPlan& plan, const StartRequest& request, const StartOne& start) {
    StartResult result;
    if (plan.refused) return result;
    for (const std::string& path : plan.paths) {
        if (!start(path, plan.dir, request.param)) continue;
        result.started = path;
        if (plan.searched) result.new_program = path;
        return result;
    }
    if (plan.searched) result.not_found = request.exe;
    return result;
}

bool follow_start(ProgramTable& table, const StartRequest& request, const StartResult& result) {
    if (!result.new_program || request.index < 0 || request.index >= kSlotCount) return false;
    if (request.stored && table.Progs[request.index] != *request.stored) return false;
    table.set_program(request.index, *result.new_program);
    return true;
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
    request.launcher_drive = launcher_drive_;
    return request;
}

StartRequest ProgramStarter::prepare_slot(const ProgramTable& table, int Index, bool Adminflag) {
    if (Index < 0 || Index >= kSlotCount) return prepare("", "", "", Index, Adminflag);
    StartRequest request =
        prepare(table.Progs[Index], "", table.Parameter[Index], Index, Adminflag);
    // Getprogparams' test of the working directory is a probe like the others.
    request.dir_to_test = complete_drive(table.Verzeichnisse[Index], launcher_drive_);
    request.stored = table.Progs[Index];
    return request;
}

StartResult ProgramStarter::finish(const StartRequest& request, const StartFindings& findings,
                                   const SetProgram& set_program, const ConfirmRunAs& confirm) {
    StartResult result = run_here(request, findings, confirm);
    if (result.new_program) set_program(request.index, *result.new_program);
    return result;
}

StartResult ProgramStarter::run_here(const StartRequest& request, const StartFindings& findings,
                                     const ConfirmRunAs& confirm) {
    const QuietDriveErrors quiet_drives(services_.drives);
    return run_plan(plan_start(request, findings, confirm), request,
                    [this, &request](const std::string& path, const std::string& dir,
                                     const std::string& param) {
                        return start(path, dir, param, request.admin);
                    });
}

StartResult ProgramStarter::Startprog(const std::string& Exe, const std::string& Dir,
                                      const std::string& Param, int Index, bool Adminflag,
                                      const SetProgram& set_program, const ConfirmRunAs& confirm) {
    const StartRequest request = prepare(Exe, Dir, Param, Index, Adminflag);
    return finish(request,
                  probe_start(request, services_.probes, services_.deadline,
                              std::chrono::steady_clock::now(), services_.threads),
                  set_program, confirm);
}

StartResult ProgramStarter::start_slot(ProgramTable& table, int Index, bool Adminflag,
                                       const ConfirmRunAs& confirm) {
    const StartRequest request = prepare_slot(table, Index, Adminflag);
    const StartFindings findings = probe_start(request, services_.probes, services_.deadline,
                                               std::chrono::steady_clock::now(), services_.threads);
    StartResult result = run_here(request, findings, confirm);
    follow_start(table, request, result);
    return result;
}

bool ProgramStarter::start(const std::string& path, const std::string& dir,
                           const std::string& param, bool admin) {
    if (admin) return services_.account.run_as(path, dir, param);
    return services_.shell.open(path, param, dir);
}

}  // namespace tastomat
