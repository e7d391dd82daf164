#include "ui/help_viewer.h"

#include <gtest/gtest.h>

#include <string>

namespace tastomat::ui {
namespace {

// Set by the build: the help file built beside these tests.
const wchar_t* const kHelpFile = TASTOMAT_HELP_FILE_PATH;
// The viewer's caption is the help file's title.
const wchar_t* const kCaption = L"Tastomat-Hilfe";

std::wstring full_path(const std::wstring& path) {
    wchar_t buffer[MAX_PATH];
    const DWORD n = GetFullPathNameW(path.c_str(), MAX_PATH, buffer, nullptr);
    return n > 0 && n < MAX_PATH ? std::wstring(buffer, n) : path;
}

void pump() {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
}

bool viewer_open() {
    pump();
    return FindWindowW(nullptr, kCaption) != nullptr;
}

TEST(HelpViewer, OpensTheHelpFileOnlyWhereThereIsOne) {
    const std::wstring help = full_path(kHelpFile);
    const std::wstring folder = help.substr(0, help.find_last_of(L'\\'));
    struct Case {
        const char* what;
        std::wstring file;
        bool by_page;
        bool opens;
    };
    const Case cases[] = {
        {"no help file beside the program", folder + L"\\Fehlt.chm", false, false},
        {"a folder of that name", folder, false, false},
        {"no help file, page by name", folder + L"\\Fehlt.chm", true, false},
        {"the built help file at a context number", help, false, true},
        {"the built help file at a page", help, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HelpViewer viewer;
        const bool shown = c.by_page ? viewer.show_topic(c.file, L"administrator.htm")
                                     : viewer.show_context(c.file, 100);
        EXPECT_EQ(shown, c.opens);
        EXPECT_EQ(viewer_open(), c.opens);
        viewer.close_all();
        EXPECT_FALSE(viewer_open());
    }
}

}  // namespace
}  // namespace tastomat::ui
