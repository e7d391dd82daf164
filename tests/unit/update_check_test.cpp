// The update check's flow against a scripted server and dialog.
#include "info/update_check.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
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

struct Scenario {
    const char* what;
    std::optional<double> installed = {};  // nothing: no version information
    std::optional<ServedFile> ver = {};    // nothing: unreachable
    std::optional<ServedFile> zip = {};
    bool answer = false;
    std::optional<std::string> save_as = {};
    std::vector<std::string> events = {};
    std::optional<std::string> saved_as = {};  // where the archive must be afterwards
    std::string progress = {};                 // a progress text that must have been shown
    bool opens = true;                         // the shell opens the saved archive
    bool writes = true;
    bool english = false;
};

const std::string kUpToDate =
    "inform: Derzeit befindet sich keine aktuellere Version auf dem Server";
const std::string kConnectFailed = "inform: Problem beim Verbinden mit dem Server";
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

class UpdateCheckTest : public ::testing::Test {
  protected:
    void TearDown() override { info_texts() = german_texts(); }

    test::FakeFileSystem files;
    test::FakeShell shell;
    FakeHttp http;
    FakeDialog dialog;
};

TEST_F(UpdateCheckTest, Scenarios) {
    const std::vector<Scenario> scenarios = {
        {"same version, line break after it", 1.05, served("1,05\r\n"), {}, false, {}, {kUpToDate}},
        {"1.14 equals 1,14", 1.14, served("1,14"), {}, false, {}, {kUpToDate}},
        {"newer: the question, answered No",
         1.05,
         served("1,06"),
         {},
         false,
         {},
         {question("1,05", "1,06")}},
        {"full stop: the server has 1",
         1.05,
         served("1.06"),
         {},
         false,
         {},
         {question("1,05", "1,00")}},
        {"1,050 equals 1.5", 1.05, served("1,050"), {}, false, {}, {kUpToDate}},
        {"1,055 differs from 1.5",
         1.05,
         served("1,055"),
         {},
         false,
         {},
         {question("1,05", "1,05")}},
        {"byte-order mark: the server has 1",
         1.05,
         served("\xEF\xBB\xBF"
                "1,06"),
         {},
         false,
         {},
         {question("1,05", "1,00")}},
        {"unreachable, 1.5 installed: Yes ends in the connection failure",
         1.05,
         {},
         {},
         true,
         {},
         {question("1,05", "1,00"), kConnectFailed}},
        {"unreachable, 1.0 installed", 1.0, {}, {}, false, {}, {kUpToDate}},
        {"HEAD refused everywhere",
         1.05,
         ServedFile{{}, "1,06"},
         ServedFile{{}, kArchive},
         true,
         {},
         {question("1,05", "1,00"), kConnectFailed}},
        {"no version information: nothing at all", {}, served("1,06"), {}, false, {}, {}},
        {"no Content-Length: -1 as the total",
         1.0,
         served("1,06", false),
         {},
         false,
         {},
         {question("1,00", "1,06")},
         {},
         "Heruntergeladen 4 von -1 Bytes"},
        {"update.tar is saved as update.zip",
         1.0,
         served("1,06"),
         served(kArchive),
         true,
         "C:\\Downloads\\update.tar",
         {question("1,00", "1,06"), kSave, closing("1,00", "1,06")},
         "C:\\Downloads\\update.zip",
         "Heruntergeladen 20 von 20 Bytes"},
        {"a name without extension gets .zip",
         1.0,
         served("2,00"),
         served(kArchive),
         true,
         "C:\\Downloads\\neu",
         {question("1,00", "2,00"), kSave, closing("1,00", "2,00")},
         "C:\\Downloads\\neu.zip"},
        {"an older server version is offered too",
         2.0,
         served("1,50"),
         served(kArchive),
         true,
         "C:\\Downloads\\alt.zip",
         {question("2,00", "1,50"), kSave, closing("2,00", "1,50")},
         "C:\\Downloads\\alt.zip"},
        {"save dialog cancelled",
         1.0,
         served("1,06"),
         served(kArchive),
         true,
         {},
         {question("1,00", "1,06"), kSave}},
        {"no program for zip archives",
         1.0,
         served("1,06"),
         served(kArchive),
         true,
         "C:\\Downloads\\a.zip",
         {question("1,00", "1,06"), kSave,
          "inform: ZIP Entpacker kann nicht ge\u00f6ffnet werden !", closing("1,00", "1,06")},
         "C:\\Downloads\\a.zip",
         "",
         false},
        {"archive cannot be written",
         1.0,
         served("1,06"),
         served(kArchive),
         true,
         "C:\\Downloads\\a.zip",
         {question("1,00", "1,06"), kSave, kConnectFailed},
         {},
         "",
         true,
         false},
        {"archive missing on the server",
         1.0,
         served("1,06"),
         {},
         true,
         {},
         {question("1,00", "1,06"), kConnectFailed}},
        {"English",
         1.05,
         served("1,06"),
         {},
         false,
         {},
         {"ask: Version 1.05, on the Server you find 1.06.\rdo you want to upgrade?"},
         {},
         "4 of 4 Bytes downloaded",
         true,
         true,
         true},
    };
    for (const Scenario& s : scenarios) {
        SCOPED_TRACE(s.what);
        test::FakeFileSystem files;
        files.add_dir("C:\\Downloads");
        files.fail_writes = !s.writes;
        test::FakeShell shell;
        shell.documents_open = s.opens;
        FakeHttp http;
        if (s.ver) http.files[std::string(kBase) + "tastomat.ver"] = *s.ver;
        if (s.zip) http.files[std::string(kBase) + "tastomat.zip"] = *s.zip;
        FakeDialog dialog;
        dialog.answer = s.answer;
        dialog.save_as = s.save_as;
        info_texts() = s.english ? english_texts() : german_texts();
        const char separator = s.english ? '.' : ',';

        UpdateCheck check(
            {http, files, shell, dialog}, kBase, kExe,
            [&](double& number) {
                if (s.installed) number = *s.installed;
                return s.installed.has_value();
            },
            separator);
        check.Getnewversionclick();

        EXPECT_EQ(dialog.events, s.events);
        if (!s.progress.empty()) {
            EXPECT_NE(std::find(dialog.progress.begin(), dialog.progress.end(), s.progress),
                      dialog.progress.end())
                << (dialog.progress.empty() ? "no progress" : dialog.progress.back());
        }
        if (s.saved_as) {
            EXPECT_EQ(files.content(*s.saved_as), kArchive);
            EXPECT_EQ(shell.documents,
                      (std::vector<std::pair<std::string, int>>{{"\"" + *s.saved_as + "\"", 1}}));
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
        {http, files, shell, dialog}, kBase, kExe,
        [](double& number) { return number = 1.0, true; }, ',');
    // A click while the check runs (the progress line lets input through) does nothing.
    dialog.during_progress = [&] { check.Getnewversionclick(); };
    check.Getnewversionclick();

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

TEST_F(UpdateCheckTest, AnAbandonedCheckEndsAtOnceWithoutAMessage) {
    http.files[std::string(kBase) + "tastomat.ver"] = served("1,06");
    dialog.during_progress = [] { throw CheckAbandoned{}; };
    UpdateCheck check(
        {http, files, shell, dialog}, kBase, kExe,
        [](double& number) { return number = 1.0, true; }, ',');
    EXPECT_THROW(check.Getnewversionclick(), CheckAbandoned);
    EXPECT_TRUE(dialog.events.empty());
    EXPECT_FALSE(check.running());
}

}  // namespace
}  // namespace tastomat
