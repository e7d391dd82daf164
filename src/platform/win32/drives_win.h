#pragma once
#include "platform/drives.h"

namespace tastomat {

class WinDrives final : public Drives {
  public:
    int drive_type(const std::string& root) override;
    unsigned set_error_mode(unsigned mode) override;
};

}  // namespace tastomat
