#pragma once
// Stand-in until the start under another account exists: every run-as start fails, so the
// launcher behaves as if the account data were wrong (nothing starts, the slot is kept
// only when the program is at its stored path). Replaced by the administrator dialog's
// starter; do not build on it.
#include "platform/shell.h"

namespace tastomat {

class NoAccountStarter final : public AccountStarter {
  public:
    bool run_as(const std::string&, const std::string&, const std::string&) override {
        return false;
    }
};

}  // namespace tastomat
