#pragma once
// The process's current directory is an open handle on that folder. Started from Explorer
// or from the autostart link, that is the program's own folder on the stick, and Windows
// would refuse to remove the stick for as long as the program runs.
#include <string>

namespace tastomat {

// Makes the system folder current. The folder that was current at start stays its drive's
// current directory, in the "=E:" variable that cmd.exe and the C runtime keep for a drive
// that is not the current one: a slot without a working folder gets the bare drive "E:",
// which then still names the folder it named before. True when the system folder is
// current afterwards.
bool leave_start_folder();

// The process's current directory; empty when the system does not say.
std::wstring current_folder();

}  // namespace tastomat
