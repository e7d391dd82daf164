#pragma once
// Moving the table's program and folder paths to another drive letter at once: the stick
// the launcher runs from may be E: on one computer and F: on the next.
//
// A checked drive may be a share whose server does not answer, and each existence test
// on it would then take as long as the redirector waits. So the move goes in three steps,
// as a start does: plan (the window's thread: the checked drives and the slots' paths as
// they are now), probe (a worker: every drive at once, all under one deadline) and apply
// (the window's thread again, through WindowThread). The window answers meanwhile.
#include <chrono>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/drives.h"
#include "platform/window_thread.h"
#include "support/bounded_jobs.h"
#include "table/program_table.h"

namespace tastomat {

// How the drive dialog was closed, and the root paths ("E:\" or "E:") checked in it, in
// ascending order.
struct DriveChoice {
    bool confirmed = false;
    std::vector<std::string> roots;
};

// What one use of the drive dialog asks: the checked drives ("E:") in ascending order, and
// each slot whose path begins with a drive letter, with that path as it was stored.
struct Retargeting {
    struct Slot {
        int index = -1;
        std::string stored;  // as in the table, blanks and all
        std::string rest;    // blanks removed, without its drive ("\Tools\x.exe")
    };
    std::vector<std::string> drives;
    std::vector<Slot> slots;
    bool empty() const { return drives.empty() || slots.empty(); }
};

// Per drive of the plan, whether each slot's path exists there as a file or a folder;
// nothing for a drive that did not answer every test by the deadline.
using RetargetFindings = std::vector<std::optional<std::vector<bool>>>;

// Nothing to do when the dialog was cancelled or no drive was checked.
Retargeting plan_retargeting(const ProgramTable& table, const DriveChoice& choice);

// Every drive on a worker of its own, at once, drawn from the threads all drive lookups
// share; returns by the deadline. Any thread.
RetargetFindings probe_retargeting(const Retargeting& plan,
                                   const std::shared_ptr<const DriveProbes>& probes,
                                   Deadline deadline, BoundedThreads threads = lookup_threads());

// For each drive in turn, a slot moves to it where its path exists there, so a path ends
// on the last checked drive that has it. A slot that no longer holds the path that was
// tested (the user changed it meanwhile) is left alone; every other planned slot has its
// line rewritten, moved or not. Free slots, network paths, paths without a drive letter,
// working directories and parameters stay.
void apply_retargeting(ProgramTable& table, const Retargeting& plan,
                       const RetargetFindings& findings);

// Probes on a thread of its own and hands plan and findings to done as a task on window.
// A drive that has not answered by the deadline counts as not having the paths.
using RetargetDone = std::function<void(const Retargeting& plan, const RetargetFindings&)>;
void retarget_in_background(Retargeting plan, std::shared_ptr<const DriveProbes> probes,
                            std::shared_ptr<WindowThread> window, RetargetDone done,
                            std::chrono::milliseconds budget = kDriveDeadline,
                            BoundedThreads threads = lookup_threads());

}  // namespace tastomat
