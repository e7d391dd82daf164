#pragma once
// The help viewer: the system's HTML Help (hhctrl.ocx), loaded the first time help is
// asked for, so the program links no import library for it and runs where it is missing.
#include <windows.h>

#include <htmlhelp.h>

#include <string>

namespace tastomat::ui {

class HelpViewer {
  public:
    HelpViewer() = default;
    HelpViewer(const HelpViewer&) = delete;
    HelpViewer& operator=(const HelpViewer&) = delete;

    // Open the help file (full path) at a context number of its map, or at one of its
    // pages. Without the file or without the viewer nothing happens and the result is false.
    bool show_context(const std::wstring& file, int context);
    bool show_topic(const std::wstring& file, const std::wstring& page);

    // Closes the help windows this program opened; for the end of the program.
    void close_all();

  private:
    using HtmlHelpFunction = decltype(&HtmlHelpW);
    HtmlHelpFunction viewer();
    bool call(const std::wstring& file, const std::wstring& address, UINT command, DWORD_PTR data);

    // Loaded once and kept until the process ends: unloading it while a help window's
    // thread still runs would pull the code from under that thread.
    HtmlHelpFunction html_help_ = nullptr;
    bool looked_ = false;
};

// Where a dialog's help opens: a context number of the help file's map, or one of its
// pages; neither for a dialog without help of its own.
struct HelpTopic {
    int context = 0;
    const wchar_t* page = nullptr;
};

// The program's help file, which travels beside the program, in the program's viewer.
// Made once by the program's owner and handed to the dialogs that show help.
class ProgramHelp {
  public:
    // Nothing happens without the file, or for an empty topic.
    void show(const HelpTopic& topic);
    // For the end of the program.
    void close() { viewer_.close_all(); }

  private:
    HelpViewer viewer_;
};

}  // namespace tastomat::ui
