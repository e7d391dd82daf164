#pragma once
#include <string>

namespace tastomat {

// Opening a program, document or folder the way Explorer would.
class Shell {
  public:
    virtual ~Shell() = default;
    // Verb "open", no owner window, shown without activation. True when the shell
    // reports success.
    virtual bool open(const std::string& file, const std::string& params,
                      const std::string& dir) = 0;
    // Verb "open" for a document or address the user asked to see: no owner window, no
    // parameters, no directory, shown with the given show command (SW_SHOW is 5,
    // SW_SHOWNORMAL 1). True when the shell reports success.
    virtual bool open_document(const std::string& target, int show_command) = 0;
};

// Starting a program under the account typed into the administrator settings.
class AccountStarter {
  public:
    virtual ~AccountStarter() = default;
    // True when the system reported no error for the start.
    virtual bool run_as(const std::string& exe, const std::string& dir,
                        const std::string& param) = 0;
};

}  // namespace tastomat
