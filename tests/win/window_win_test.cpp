#include "ui/window.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "ui/application.h"
#include "ui/controls.h"
#include "ui/form.h"

namespace tastomat::ui {
namespace {

constexpr UINT kFail = WM_APP + 7;

// Throws from its handler: wp chooses the text.
class FailingWindow : public Window {
  public:
    FailingWindow() { create_hidden(L"TastomatTestFailingWindow"); }

  protected:
    LRESULT on_message(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg == kFail) throw std::runtime_error(wp ? "Zweiter Fehler" : "Datei kaputt");
        return default_message(msg, wp, lp);
    }
};

void pump() {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&m);
        DispatchMessageW(&m);
    }
}

// Puts its own reporter in place of the error box for one test.
class RecordedReports {
  public:
    explicit RecordedReports(std::function<void(const std::wstring&)> during = {})
        : during_(std::move(during)) {
        previous_ = set_error_reporter([this](HWND, const std::wstring& text) {
            ++depth_;
            max_depth_ = std::max(max_depth_, depth_);
            seen.push_back(text);
            if (during_) during_(text);
            --depth_;
        });
    }
    RecordedReports(const RecordedReports&) = delete;
    RecordedReports& operator=(const RecordedReports&) = delete;
    ~RecordedReports() { set_error_reporter(std::move(previous_)); }

    std::vector<std::wstring> seen;
    int max_depth() const { return max_depth_; }

  private:
    std::function<void(const std::wstring&)> during_;
    ErrorReporter previous_;
    int depth_ = 0, max_depth_ = 0;
};

TEST(WindowErrors, AreReportedAfterTheFailingMessageOncePerText) {
    RecordedReports reports;
    FailingWindow window;
    SendMessageW(window.hwnd(), kFail, 0, 0);
    SendMessageW(window.hwnd(), kFail, 0, 0);
    EXPECT_TRUE(reports.seen.empty()) << "reported from inside the failing message";
    pump();
    EXPECT_EQ(reports.seen, (std::vector<std::wstring>{L"Datei kaputt"}));
    // Once it has been seen, the same failure is worth a report again.
    SendMessageW(window.hwnd(), kFail, 0, 0);
    pump();
    EXPECT_EQ(reports.seen.size(), 2u);
}

TEST(WindowErrors, AFailureWhileABoxIsOpenWaitsForItInsteadOfStackingOnIt) {
    FailingWindow window;
    RecordedReports reports([&](const std::wstring& text) {
        if (text != L"Datei kaputt") return;
        // The box's own message loop runs other messages, which fail again.
        SendMessageW(window.hwnd(), kFail, 0, 0);
        SendMessageW(window.hwnd(), kFail, 1, 0);
        pump();
    });
    SendMessageW(window.hwnd(), kFail, 0, 0);
    pump();
    EXPECT_EQ(reports.max_depth(), 1);
    EXPECT_EQ(reports.seen, (std::vector<std::wstring>{L"Datei kaputt", L"Zweiter Fehler"}));
}

class TestForm : public Form {
  public:
    TestForm() : Form("TestForm", L"MS Sans Serif") {
        CreateParams params;
        params.class_name = L"TastomatTestForm";
        params.style = WS_POPUP;
        params.width = params.height = 100;
        create(params);
        form_created();
    }
};

TEST(FormControls, AControlThatGoesTakesItsWindowAndLeavesTheForm) {
    TestForm form;
    auto edit = std::make_unique<Edit>(form, "Edit1", DesignRect{0, 0, 50, 20});
    auto label = std::make_unique<Label>(form, "Label1", DesignRect{0, 30, 50, 20}, L"x");
    const HWND edit_window = edit->hwnd();
    ASSERT_EQ(form.components().size(), 2u);
    edit.reset();
    EXPECT_FALSE(IsWindow(edit_window));
    ASSERT_EQ(form.components().size(), 1u);
    EXPECT_EQ(form.components()[0]->component_name(), "Label1");
    form.layout();  // walks only what is left
}

// Opens a modal loop over `form` when asked, and quits from inside it.
class ModalOpener : public Window {
  public:
    explicit ModalOpener(HWND form) : form_(form) { create_hidden(L"TastomatTestModalOpener"); }
    static constexpr UINT kOpen = WM_APP + 9;

  protected:
    LRESULT on_message(UINT msg, WPARAM wp, LPARAM lp) override {
        if (msg != kOpen) return default_message(msg, wp, lp);
        PostQuitMessage(7);
        Application::instance().run_modal(form_);
        return 0;
    }

  private:
    HWND form_;
};

TEST(ApplicationLoop, AQuitMetInsideAModalLoopEndsEveryLoopWithItsCode) {
    TestForm form;
    ModalOpener opener(form.hwnd());
    PostMessageW(opener.hwnd(), ModalOpener::kOpen, 0, 0);
    EXPECT_EQ(Application::instance().run(), 7);
}

}  // namespace
}  // namespace tastomat::ui
