/* Started from a launcher by the benchmark: the first thing it does is append the moment
 * it runs (UTC, 100 ns units since 1601, as the system clock gives it) to the file named by
 * its argument, so that "key pressed -> program running" is timed by the program itself.
 * A window program, so that no console is made for it. */
#include <windows.h>

#include <stdio.h>

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE prev, PWSTR cmd, int show) {
    (void)instance;
    (void)prev;
    (void)show;
    FILETIME now;
    GetSystemTimePreciseAsFileTime(&now);
    const unsigned long long ticks = ((unsigned long long)now.dwHighDateTime << 32) | now.dwLowDateTime;
    wchar_t path[MAX_PATH * 2];
    lstrcpynW(path, cmd, MAX_PATH * 2);
    /* The path may come quoted. */
    wchar_t *p = path;
    if (*p == L'"') {
        ++p;
        wchar_t *end = p;
        while (*end && *end != L'"') ++end;
        *end = 0;
    }
    FILE *f = _wfopen(p, L"ab");
    if (!f) return 1;
    fprintf(f, "%llu\n", ticks);
    fclose(f);
    return 0;
}
