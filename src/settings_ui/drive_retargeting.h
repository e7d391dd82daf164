#pragma once
// Moving the table's program and folder paths to another drive letter at once: the stick
// the launcher runs from may be E: on one computer and F: on the next.
#include <string>
#include <vector>

#include "platform/drives.h"
#include "platform/file_system.h"
#include "table/program_table.h"

namespace tastomat {

// How the drive dialog was closed, and the root paths ("E:\" or "E:") checked in it, in
// ascending order.
struct DriveChoice {
    bool confirmed = false;
    std::vector<std::string> roots;
};

// For each checked drive in turn, every slot whose path begins with a drive letter moves
// to that drive when the same path exists there as a file or a folder; so a path ends on
// the last checked drive that has it. Free slots, network paths and paths without a drive
// letter stay, and so do every working directory and parameter. The line of every slot
// with a drive letter is rewritten. Nothing happens when the dialog was cancelled.
void retarget_drives(ProgramTable& table, const DriveChoice& choice, FileSystem& files,
                     Drives& drives);

}  // namespace tastomat
