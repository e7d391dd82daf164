#pragma once
#include <string>
#include <string_view>

namespace tastomat {

// The system's ANSI code page: files without a byte-order mark are stored in it.
class CodePage {
  public:
    virtual ~CodePage() = default;
    virtual std::string to_utf8(std::string_view bytes) = 0;
    // Characters the code page cannot represent are replaced (they do not survive).
    virtual std::string from_utf8(std::string_view text) = 0;

    // Whether every character of the (well-formed UTF-8) text has a place in the code page,
    // so that writing it and reading it back gives the same text.
    bool fits(std::string_view text);
};

// Windows-1252, the German default; used where the system has no ANSI code page.
class Windows1252 final : public CodePage {
  public:
    std::string to_utf8(std::string_view bytes) override;
    std::string from_utf8(std::string_view text) override;
};

}  // namespace tastomat
