// The update check's flow against a scripted server and dialog.
#include "info/update_check.h"

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "info/info_texts.h"
#include "support/fakes.h"

namespace tastomat {
namespace {

constexpr const char* kBase = "https://updates.example/download/";
constexpr const char* kExe = "E:\\Tastomat\\Tastomat.exe";
constexpr char kArchiveBytes[] = "PK\x03\x04 archive \0 bytes";
const std::string kArchive(kArchiveBytes, sizeof kArchiveBytes - 1);  // 20 bytes, one of them 0

// A file on the server; nothing in a field means that request fails.
struct ServedFile {
    std::optional<std::int64_t> head;
    std::optional<std::string> body;
};

class FakeHttp final : public HttpClient {
  public:
    std::map<std::string, ServedFile> files;
    std::vector<std::string> calls;

    std::int64_t head(const std::string& url) override {
        calls.push_back("HEAD " + url);
        const auto it = files.find(url);
        if (it == files.end() || !it->second.head) throw HttpError("no HEAD");
        return *it->second.head;
    }
    std::string get(const std::string& url, const HttpProgress& progress) override {
        calls.push_back("GET " + url);
        const auto it = files.find(url);
        if (it == files.end() || !it->second.body) throw HttpError("no GET");
        const std::string& body = *it->second.body;
        // Two reports, as a transfer in two pieces gives.
        if (progress) progress(static_cast<std::int64_t>(body.size() / 2));
        if (progress) progress(static_cast<std::int64_t>(body.size()));
        return body;
    }
};

class FakeDialog final : public UpdateDialog {
  public:
    bool answer = false;
    std::optional<std::string> save_as;
    std::vector<std::string> events;  // "inform: ...", "ask: ...", "save: ..."
    std::vector<std::string> progress;
    std::optional<ArchiveSaveRequest> request;
    std::function<void()> during_progress;

    void inform(const std::string& text) override { events.push_back("inform: " + text); }
    bool ask(const std::string& text) override {
        events.push_back("ask: " + text);
        return answer;
    }
    std::optional<std::string> save_archive_as(const ArchiveSaveRequest& r) override {
        events.push_back("save: " + r.file_name);
        request = r;
        return save_as;
    }
    void show_progress(const std::string& text) override {
        progress.push_back(text);
        if (during_progress) during_progress();
    }
};

// Ways a scenario departs from the plain one.
enum Twist : unsigned {
    kNone = 0,
    kNoLength = 1,    // the version file comes without Content-Length
    kNoOpener = 2,    // no program is associated with zip archives
    kWriteFails = 4,  // the archive cannot be written
    kEnglish = 8,     // a user whose language is not German
};

struct Scenario {
    const char* what;
    std::optional<double> installed;  // nothing: no version information
    const char* version_file;         // nullptr: the server cannot be reached
    bool yes;                         // the answer to the question
    const char* save_as;              // nullptr: the save dialog is cancelled
    std::vector<std::string> events;
    const char* saved_as = nullptr;  // where the archive is afterwards
    const char* progress = nullptr;  // a progress text that was shown
    unsigned twists = kNone;
};

const std::string kUpToDate =
    "inform: Derzeit befindet sich keine aktuellere Version auf dem Server";
const std::string kConnectFailed = "inform: Problem beim Verbinden mit dem Server";
const std::string kUnzipFailed = "inform: ZIP Entpacker kann nicht ge\u00f6ffnet werden !";
const std::string kSave = "save: E:\\Tastomat\\Tastomat.zip";

std::string question(const char* installed, const char* server) {
    return std::string("ask: Version ") + installed + ", auf dem Server ist " + server +
           ".\rAktualisieren?";
}

std::string closing(const char* installed, const char* server) {
    return std::string("inform: Installierte Version ") + installed + "\rVersion auf dem Server " +
           server +
           "\rBitte beenden Sie nun zuerst dieses Programm.\rDanach entpacken Sie nun die "
           "Dateien im Zip Archiv in ihr Programmverzeichnis";
}

ServedFile served(const std::string& body, bool announce = true) {
    return {announce ? std::int64_t(body.size()) : -1, body};
}

// The check over the real request worker: the fake server answers on the worker's thread,
// and the steps are taken on the test's, which plays the window's.
struct Requests {
    std::shared_ptr<FakeHttp> http = std::make_shared<FakeHttp>();
    std::shared_ptr<test::QueuedWindowThread> window = std::make_shared<test::QueuedWindowThread>();
    HttpWorker worker{http, window};

    // Runs the window's tasks until the check has ended.
    void run(const UpdateCheck& check) {
        for (int posts = 1; check.running(); ++posts) {
            ASSERT_TRUE(window->wait_for_posts(posts)) << "the check hangs";
            window->run_pending();
        }
    }
};

class UpdateCheckTest : public ::testing::Test {
  protected:
    test::FakeFileSystem files;
    test::FakeShell shell;
    Requests requests;
    FakeHttp& http = *requests.http;
    FakeDialog dialog;
};

TEST_F(UpdateCheckTest, Scenarios) {
    const std::string asked = question("1,00", "1,06");
    const std::string told = closing("1,00", "1,06");
    // clang-format off
    const std::vector<Scenario> scenarios = {
        {"same version, line break after it", 1.05, "1,05\r\n", false, nullptr, {kUpToDate}},
        {"1.14 equals 1,14", 1.14, "1,14", false, nullptr, {kUpToDate}},
        {"newer: the question, answered No", 1.05, "1,06", false, nullptr,
         {question("1,05", "1,06")}},
        {"full stop: the server has 1", 1.05, "1.06", false, nullptr, {question("1,05", "1,00")}},
        {"1,050 equals 1.5", 1.05, "1,050", false, nullptr, {kUpToDate}},
        {"1,055 differs from 1.5", 1.05, "1,055", false, nullptr, {question("1,05", "1,05")}},
        {"unreachable with 1.5: said so, nothing asked", 1.05, nullptr, true, nullptr,
         {kConnectFailed}},
        {"unreachable with 1.0: not \"up to date\"", 1.0, nullptr, false, nullptr,
         {kConnectFailed}},
        {"reachable, no number: counts as 1.0", 1.0, "<html>", false, nullptr, {kUpToDate}},
        {"an empty version file counts as 1.0", 1.05, "", false, nullptr,
         {question("1,05", "1,00")}},
        {"no version information: nothing at all", std::nullopt, "1,06", false, nullptr, {}},
        {"no Content-Length: -1 as the total", 1.0, "1,06", false, nullptr, {asked}, nullptr,
         "Heruntergeladen 4 von -1 Bytes", kNoLength},
        {"update.tar is saved as update.zip", 1.0, "1,06", true, "C:\\Downloads\\update.tar",
         {asked, kSave, told}, "C:\\Downloads\\update.zip", "Heruntergeladen 20 von 20 Bytes"},
        {"save dialog cancelled", 1.0, "1,06", true, nullptr, {asked, kSave}},
        {"no program for zip archives", 1.0, "1,06", true, "C:\\Downloads\\a.zip",
         {asked, kSave, kUnzipFailed, told}, "C:\\Downloads\\a.zip", nullptr, kNoOpener},
        {"archive cannot be written", 1.0, "1,06", true, "C:\\Downloads\\a.zip",
         {asked, kSave, kConnectFailed}, nullptr, nullptr, kWriteFails},
        {"English", 1.05, "1,06", false, nullptr,
         {"ask: Version 1.05, on the Server you find 1.06.\rdo you want to upgrade?"}, nullptr,
         "4 of 4 Bytes downloaded", kEnglish},
    };
    // clang-format on
    for (const Scenario& s : scenarios) {
        SCOPED_TRACE(s.what);
        test::FakeFileSystem files;
        files.add_dir("C:\\Downloads");
        files.fail_writes = (s.twists & kWriteFails) != 0;
        test::FakeShell shell;
        shell.documents_open = (s.twists & kNoOpener) == 0;
        Requests requests;
        FakeHttp& http = *requests.http;
        if (s.version_file) {
            http.files[std::string(kBase) + "tastomat.ver"] =
                served(s.version_file, (s.twists & kNoLength) == 0);
            http.files[std::string(kBase) + "tastomat.zip"] = served(kArchive);
        }
        FakeDialog dialog;
        dialog.answer = s.yes;
        if (s.save_as) dialog.save_as = s.save_as;
        const bool english = (s.twists & kEnglish) != 0;
        const char separator = english ? '.' : ',';

        UpdateCheck check(
            {requests.worker, files, shell, dialog}, english ? english_texts() : german_texts(),
            kBase, kExe,
            [&](double& number) {
                if (s.installed) number = *s.installed;
                return s.installed.has_value();
            },
            separator);
        check.Getnewversionclick();
        requests.run(check);

        EXPECT_EQ(dialog.events, s.events);
        if (s.progress) {
            EXPECT_NE(std::find(dialog.progress.begin(), dialog.progress.end(), s.progress),
                      dialog.progress.end())
                << (dialog.progress.empty() ? "no progress" : dialog.progress.back());
        }
        if (s.saved_as) {
            EXPECT_EQ(files.content(s.saved_as), kArchive);
            const std::string quoted = std::string("\"") + s.saved_as + "\"";
            EXPECT_EQ(shell.documents, (std::vector<std::pair<std::string, int>>{{quoted, 1}}));
        } else {
            EXPECT_EQ(files.writes, 0);
            EXPECT_TRUE(shell.documents.empty());
        }
        EXPECT_FALSE(check.running());
    }
}

TEST_F(UpdateCheckTest, AsksTheServerForTheProgramsFilesAndProposesItsFolder) {
    http.files[std::string(kBase) + "tastomat.ver"] = served("1,06");
    http.files[std::string(kBase) + "tastomat.zip"] = served(kArchive);
    dialog.answer = true;
    UpdateCheck check(
        {requests.worker, files, shell, dialog}, german_texts(), kBase, kExe,
        [](double& number) { return number = 1.0, true; }, ',');
    // A click while the check runs does nothing.
    dialog.during_progress = [&] { check.Getnewversionclick(); };
    check.Getnewversionclick();
    requests.run(check);

    EXPECT_EQ(check.Zipname, "tastomat.zip");
    EXPECT_EQ(http.calls,
              (std::vector<std::string>{"HEAD https://updates.example/download/tastomat.ver",
                                        "GET https://updates.example/download/tastomat.ver",
                                        "HEAD https://updates.example/download/tastomat.zip",
                                        "GET https://updates.example/download/tastomat.zip"}));
    ASSERT_TRUE(dialog.request.has_value());
    EXPECT_EQ(dialog.request->filter, "Alles (*.*)|*.*");
    EXPECT_EQ(dialog.request->default_ext, "zip");
    EXPECT_EQ(dialog.request->initial_dir, "E:\\Tastomat\\");
    EXPECT_EQ(dialog.request->file_name, "E:\\Tastomat\\Tastomat.zip");
}

TEST_F(UpdateCheckTest, ClosingTheDialogEndsTheCheckAtOnceAndNothingComesUpAfterwards) {
    struct Case {
        const char* what;
        const char* cancelled_during;  // the transfer of this file
        std::vector<std::string> events;
    };
    const Case cases[] = {
        {"while the version file comes", "tastomat.ver", {}},
        {"while the archive comes", "tastomat.zip", {question("1,00", "1,06")}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakeDialog dialog;
        dialog.answer = true;
        dialog.save_as = "C:\\Downloads\\a.zip";
        test::FakeFileSystem files;
        files.add_dir("C:\\Downloads");
        auto requests = std::make_unique<Requests>();
        requests->http->files[std::string(kBase) + "tastomat.ver"] = served("1,06");
        requests->http->files[std::string(kBase) + "tastomat.zip"] = served(kArchive);
        const std::shared_ptr<FakeHttp> http = requests->http;
        const std::shared_ptr<test::QueuedWindowThread> window = requests->window;
        UpdateCheck check(
            {requests->worker, files, shell, dialog}, german_texts(), kBase, kExe,
            [](double& number) { return number = 1.0, true; }, ',');
        dialog.during_progress = [&] {
            if (http->calls.back().find(c.cancelled_during) == std::string::npos) return;
            // As the dialog does when it closes: the check ends, then the requests go.
            check.cancel();
            requests.reset();
        };
        check.Getnewversionclick();
        for (int posts = 1; requests && check.running(); ++posts) {
            ASSERT_TRUE(window->wait_for_posts(posts)) << "the check hangs";
            window->run_pending();
        }
        EXPECT_FALSE(check.running());
        // The worker ends alone; whatever it still hands back is dropped.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
        while (http.use_count() > 1 && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        window->run_pending();
        EXPECT_EQ(dialog.events, c.events);
        EXPECT_EQ(files.writes, 0);
        EXPECT_TRUE(shell.documents.empty());
        const std::string last = http->calls.back();
        EXPECT_NE(last.find(c.cancelled_during), std::string::npos) << last;
    }
}

}  // namespace
}  // namespace tastomat
