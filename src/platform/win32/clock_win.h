#pragma once
#include "platform/clock.h"

namespace tastomat {

// Local time and the user's regional short-date and long-time formats.
class WinClock final : public Clock {
  public:
    LocalDateTime now() override;
    std::string short_date(const LocalDateTime& t) override;
    std::string long_time(const LocalDateTime& t) override;
};

}  // namespace tastomat
