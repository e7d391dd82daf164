#include "settings_ui/drive_retargeting.h"

#include <system_error>
#include <thread>
#include <utility>

#include "platform/paths.h"
#include "table/ini_file.h"

namespace tastomat {

Retargeting plan_retargeting(const ProgramTable& table, const DriveChoice& choice) {
    Retargeting plan;
    if (!choice.confirmed || choice.roots.empty()) return plan;
    for (const std::string& root : choice.roots)
        plan.drives.push_back(without_trailing_backslash(root));
    for (int i = 0; i < kSlotCount; ++i) {
        // Blanks around a stored path would otherwise end up inside the new one.
        const std::string path(trim_blanks(table.Progs[i]));
        if (path.size() < 2 || path[1] != ':') continue;
        plan.slots.push_back({i, table.Progs[i], path.substr(2)});
    }
    return plan;
}

RetargetFindings probe_retargeting(const Retargeting& plan,
                                   const std::shared_ptr<const DriveProbes>& probes,
                                   Deadline deadline, BoundedThreads threads) {
    // One worker per drive, testing its paths in turn: a share that does not answer holds
    // up its own worker only, and the number of threads stays that of the drives.
    std::vector<std::function<std::vector<bool>()>> jobs;
    for (const std::string& drive : plan.drives) {
        std::vector<std::string> paths;
        for (const Retargeting::Slot& slot : plan.slots) paths.push_back(drive + slot.rest);
        jobs.emplace_back([probes, paths = std::move(paths), deadline] {
            std::vector<bool> exists;
            for (const std::string& path : paths) {
                // Past the deadline the answer is dropped anyway: a share that stopped
                // answering holds this thread for the one test under way, not for all.
                if (std::chrono::steady_clock::now() > deadline) break;
                exists.push_back(probes->file_exists(path) || probes->directory_exists(path));
            }
            return exists;
        });
    }
    return run_until(std::move(jobs), deadline, {}, std::move(threads));
}

void apply_retargeting(ProgramTable& table, const Retargeting& plan,
                       const RetargetFindings& findings) {
    for (std::size_t s = 0; s < plan.slots.size(); ++s) {
        const Retargeting::Slot& slot = plan.slots[s];
        if (table.Progs[slot.index] != slot.stored) continue;
        std::string program = slot.stored;
        for (std::size_t d = 0; d < plan.drives.size() && d < findings.size(); ++d) {
            const auto& found = findings[d];
            if (found && s < found->size() && (*found)[s]) program = plan.drives[d] + slot.rest;
        }
        table.set_program(slot.index, program);
    }
}

void retarget_in_background(Retargeting plan, std::shared_ptr<const DriveProbes> probes,
                            std::shared_ptr<WindowThread> window, RetargetDone done,
                            std::chrono::milliseconds budget, BoundedThreads threads) {
    const Deadline deadline = std::chrono::steady_clock::now() + budget;
    auto work = [plan = std::move(plan), probes = std::move(probes), window = std::move(window),
                 done = std::move(done), deadline,
                 threads = std::move(threads)](RetargetFindings findings, bool probe) mutable {
        if (probe) findings = probe_retargeting(plan, probes, deadline, threads);
        window->post([plan = std::move(plan), findings = std::move(findings),
                      done = std::move(done)] { done(plan, findings); });
    };
    try {
        std::thread([work]() mutable { work({}, true); }).detach();
    } catch (const std::system_error&) {
        // No thread: nothing could be tested, so nothing moves; the window still hears
        // that the move is over.
        work({}, false);
    }
}

}  // namespace tastomat
