#pragma once
#include "platform/shell.h"

namespace tastomat {

// Opens through ShellExecuteW with no owner window and the verb "open".
class WinShell final : public Shell {
  public:
    // Shown without activation.
    bool open(const std::string& file, const std::string& params, const std::string& dir) override;
    bool open_document(const std::string& target, int show_command) override;
};

}  // namespace tastomat
