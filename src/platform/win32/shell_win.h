#pragma once
#include "platform/shell.h"

namespace tastomat {

// Opens through ShellExecuteW: no owner window, verb "open", shown without activation.
class WinShell final : public Shell {
  public:
    bool open(const std::string& file, const std::string& params, const std::string& dir) override;
};

}  // namespace tastomat
