#pragma once
#include "platform/shell.h"

namespace tastomat {

// Lets the program a start brings up take the foreground from the launcher.
void allow_started_program_to_the_front();

// Opens through ShellExecuteW with no owner window and the verb "open".
class WinShell final : public Shell {
  public:
    // Shown normally and activated, as the started program's first window comes up.
    bool open(const std::string& file, const std::string& params, const std::string& dir) override;
    bool open_document(const std::string& target, int show_command) override;
};

}  // namespace tastomat
