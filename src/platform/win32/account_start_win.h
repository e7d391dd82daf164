#pragma once
// Starting a program logged on as another account (CreateProcessWithLogonW).
#include <string>

#include "support/secret_text.h"

namespace tastomat {

// Exactly as typed into the administrator settings; nothing is trimmed.
struct Account {
    std::string user;
    WideSecret password;
};

// Starts the command line under the account with dir as the new process's working
// directory, without waiting for it. True only when the system created the process: the
// call's own result counts, not the thread's last-error value. The launcher's own working
// directory is left alone, so a stick it started a program from can still be ejected.
// Throws FileError, starting nothing, when dir is not a directory.
bool start_as_account(const Account& account, const std::string& command_line,
                      const std::string& dir);

}  // namespace tastomat
