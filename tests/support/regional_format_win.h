#pragma once
// One item of the user's regional format, set for a test and put back after it. A test that
// needs a format sets it: Wine rewrites the user's formats with its own data for a locale
// whenever a process of the prefix starts under another one, so what the prefix was given
// when it was made does not last.
#include <windows.h>

#include <string>

namespace tastomat::test {

class RegionalFormat {
  public:
    RegionalFormat(LCTYPE item, const wchar_t* value) : item_(item) {
        wchar_t old[80] = {};
        GetLocaleInfoW(LOCALE_USER_DEFAULT, item, old, 80);
        old_ = old;
        ok_ = SetLocaleInfoW(LOCALE_USER_DEFAULT, item, value) != FALSE;
    }
    RegionalFormat(const RegionalFormat&) = delete;
    RegionalFormat& operator=(const RegionalFormat&) = delete;
    ~RegionalFormat() { SetLocaleInfoW(LOCALE_USER_DEFAULT, item_, old_.c_str()); }
    bool ok() const { return ok_; }

  private:
    LCTYPE item_;
    std::wstring old_;
    bool ok_ = false;
};

}  // namespace tastomat::test
