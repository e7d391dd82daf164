#pragma once
#include "platform/shell_link.h"

namespace tastomat {

// The shell's own link object (IShellLinkW, saved through IPersistFile). The calling
// thread must have joined a COM apartment.
class WinShellLinkWriter final : public ShellLinkWriter {
  public:
    bool save(const ShellLinkProperties& link, const std::string& path) override;
};

}  // namespace tastomat
