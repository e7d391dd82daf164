#include "platform/win32/clock_win.h"

#include <windows.h>

#include <iterator>

#include "platform/win32/wide.h"

namespace tastomat {
namespace {

SYSTEMTIME to_system_time(const LocalDateTime& t) {
    SYSTEMTIME st{};
    st.wYear = static_cast<WORD>(t.year);
    st.wMonth = static_cast<WORD>(t.month);
    st.wDay = static_cast<WORD>(t.day);
    st.wHour = static_cast<WORD>(t.hour);
    st.wMinute = static_cast<WORD>(t.minute);
    st.wSecond = static_cast<WORD>(t.second);
    return st;
}

std::string trimmed(const wchar_t* buffer, int length) {
    // The length includes the terminating zero; 0 means the call failed.
    return length > 1 ? to_utf8(std::wstring_view(buffer, static_cast<size_t>(length - 1)))
                      : std::string();
}

}  // namespace

LocalDateTime WinClock::now() {
    SYSTEMTIME st{};
    GetLocalTime(&st);
    return {st.wYear, st.wMonth, st.wDay, st.wHour, st.wMinute, st.wSecond};
}

std::string WinClock::short_date(const LocalDateTime& t) {
    const SYSTEMTIME st = to_system_time(t);
    wchar_t buffer[128];
    return trimmed(buffer, GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buffer,
                                          static_cast<int>(std::size(buffer))));
}

std::string WinClock::long_time(const LocalDateTime& t) {
    const SYSTEMTIME st = to_system_time(t);
    wchar_t buffer[128];
    return trimmed(buffer, GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &st, nullptr, buffer,
                                          static_cast<int>(std::size(buffer))));
}

}  // namespace tastomat
