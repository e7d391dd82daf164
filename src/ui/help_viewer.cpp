#include "ui/help_viewer.h"

#include <type_traits>

#include "platform/paths.h"
#include "platform/win32/com_win.h"
#include "platform/win32/file_system_win.h"
#include "platform/win32/system_folders_win.h"
#include "platform/win32/system_library.h"
#include "platform/win32/wide.h"

namespace tastomat::ui {
namespace {
// Travels beside the program.
constexpr const wchar_t* kHelpFile = L"TASTOMAT.chm";
}  // namespace

HelpViewer::HtmlHelpFunction HelpViewer::viewer() {
    if (!looked_) {
        looked_ = true;
        // Only the system's copy: see system_library.h.
        html_help_ =
            system_function<std::remove_pointer_t<HtmlHelpFunction>>(L"hhctrl.ocx", "HtmlHelpW");
    }
    return html_help_;
}

bool HelpViewer::call(const std::wstring& file, const std::wstring& address, UINT command,
                      DWORD_PTR data) {
    if (!is_existing_file(file)) return false;
    join_com();  // the viewer is a COM object
    HtmlHelpFunction html_help = viewer();
    if (!html_help) return false;
    // Owned by no window of ours: the help stays open when the dialog that asked for it
    // closes, and it is no part of that dialog's modal loop.
    return html_help(nullptr, address.c_str(), command, data) != nullptr;
}

bool HelpViewer::show_context(const std::wstring& file, int context) {
    return call(file, file, HH_HELP_CONTEXT, static_cast<DWORD_PTR>(context));
}

bool HelpViewer::show_topic(const std::wstring& file, const std::wstring& page) {
    return call(file, file + L"::/" + page, HH_DISPLAY_TOPIC, 0);
}

void HelpViewer::close_all() {
    // Nothing to close when help was never asked for; do not load the viewer for it.
    if (html_help_) html_help_(nullptr, nullptr, HH_CLOSE_ALL, 0);
}

void ProgramHelp::show(const HelpTopic& topic) {
    const std::wstring file = to_wide(folder_part(to_utf8(module_path_w()))) + kHelpFile;
    if (topic.page)
        viewer_.show_topic(file, topic.page);
    else if (topic.context)
        viewer_.show_context(file, topic.context);
}

}  // namespace tastomat::ui
