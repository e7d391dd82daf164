#pragma once
#include "platform/code_page.h"

namespace tastomat {

// The system's ANSI code page (CP_ACP); unrepresentable characters become the code
// page's default character rather than a look-alike.
class WinCodePage final : public CodePage {
  public:
    std::string to_utf8(std::string_view bytes) override;
    std::string from_utf8(std::string_view text) override;
};

}  // namespace tastomat
