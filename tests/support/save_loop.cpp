// Saves the program table again and again through the real file layer, each time one
// generation further, until it is killed:
//   save_loop <settings file> <event name>
// The named event is set once the first save is complete. Exit code 2 for a wrong command
// line, 4 for a file without a generation, 5 for a save that failed.
#include <windows.h>

#include <cstdio>
#include <string>

#include "platform/win32/code_page_win.h"
#include "platform/win32/file_system_win.h"
#include "platform/win32/scoped.h"
#include "platform/win32/wide.h"
#include "support/save_generation.h"
#include "table/table_file.h"

int wmain(int argc, wchar_t** argv) {
    using namespace tastomat;
    if (argc < 3) return 2;
    const std::string file = to_utf8(argv[1]);
    const ScopedHandle ready(OpenEventW(EVENT_MODIFY_STATE, FALSE, argv[2]));
    if (!ready) return 2;
    WinFileSystem files;
    WinCodePage code_page;
    try {
        for (bool first = true;; first = false) {
            ProgramTable table;
            table.load(IniFile(file, files, code_page));
            const int generation = test::generation_of(table);
            if (generation < 0) return 4;
            test::fill_generation(table, generation + 1);
            save_table(table, file, files, code_page);
            if (first) SetEvent(ready.get());
        }
    } catch (const std::exception& e) {
        std::fprintf(stderr, "save_loop: %s\n", e.what());
        return 5;
    }
}
