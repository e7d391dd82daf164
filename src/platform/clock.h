#pragma once
#include <string>

namespace tastomat {

struct LocalDateTime {
    int year = 0, month = 0, day = 0;
    int hour = 0, minute = 0, second = 0;
};

// The local time and the user's regional formats.
class Clock {
  public:
    virtual ~Clock() = default;
    virtual LocalDateTime now() = 0;
    // Regional short date (German: 08.12.2026).
    virtual std::string short_date(const LocalDateTime& t) = 0;
    // Regional long time (German: 09:15:00).
    virtual std::string long_time(const LocalDateTime& t) = 0;
};

}  // namespace tastomat
