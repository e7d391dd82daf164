#pragma once
// The command line of a program started under another account.
#include <string>
#include <string_view>

namespace tastomat {

// The program path in double quotes, so that C:\Program Files\x\y.exe names that program
// and never C:\Program.exe; then the slot's parameters exactly as typed after one blank,
// the way the shell's own start passes them; nothing after the path when there are none.
std::string run_as_command_line(std::string_view exe, std::string_view param);

}  // namespace tastomat
