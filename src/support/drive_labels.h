#pragma once
// What the drive dialog shows of each drive. The shell's name and icon of a mapped network
// drive whose server is out of reach come only after the redirector gives up, which takes
// tens of seconds, so every drive is asked at once on a worker of its own (drawn from the
// threads all drive lookups share) and the dialog
// waits for them no longer than a start waits for its probes. A drive that has not answered
// by then shows its letter and a generic icon; its late answer is dropped.
#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "support/bounded_jobs.h"

namespace tastomat {

struct DriveLabel {
    std::string text;
    int icon = 0;  // index in the system's image list
    bool operator==(const DriveLabel&) const = default;
};

// The shell's name and icon of a drive root ("E:\"); nullopt when it has none to give.
// Called on a worker of its own, possibly after the dialog has gone: it must capture only
// what it owns.
using DriveLookup = std::function<std::optional<DriveLabel>(const std::string& root)>;

// One label per root, in the roots' order: the shell's answer when it came by the deadline
// (the root's letter when the name is empty), otherwise the letter and generic_icon.
std::vector<DriveLabel> label_drives(const std::vector<std::string>& roots,
                                     const DriveLookup& lookup, int generic_icon, Deadline deadline,
                                     BoundedThreads threads = lookup_threads());

}  // namespace tastomat
