#pragma once
// The online check for a newer version: fetch the server's version file, compare its
// number with the running program's, and on request download the archive, save it where
// the user says and open it through the shell. Nothing is installed automatically. The
// requests run elsewhere; the check is a chain of steps, each taken when the answer it
// waits for comes back on the window's thread, so it can be left at any moment.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "info/http_worker.h"
#include "platform/file_system.h"
#include "platform/shell.h"

namespace tastomat {

struct InfoTexts;

// What the save dialog is opened with.
struct ArchiveSaveRequest {
    std::string filter;       // "Alles (*.*)|*.*"
    std::string default_ext;  // without the dot
    std::string initial_dir;
    std::string file_name;
};

// The window the check runs in: its message boxes, its save dialog and its status line.
class UpdateDialog {
  public:
    virtual ~UpdateDialog() = default;
    // Information box with an OK button.
    virtual void inform(const std::string& text) = 0;
    // Yes/No question; true for Yes.
    virtual bool ask(const std::string& text) = 0;
    // The chosen file name, or nothing when the user cancelled.
    virtual std::optional<std::string> save_archive_as(const ArchiveSaveRequest& request) = 0;
    // Shows the progress line.
    virtual void show_progress(const std::string& text) = 0;
};

class UpdateCheck {
  public:
    struct Services {
        UpdateRequests& http;
        FileSystem& files;
        Shell& shell;
        UpdateDialog& dialog;
    };
    // texts: in the user's language, outliving the check. base_url ends with "/";
    // installed_version is GetVersionNumber for the running program.
    UpdateCheck(Services services, const InfoTexts& texts, std::string base_url,
                std::string exe_path, std::function<bool(double&)> installed_version,
                char decimal_separator);

    // Low 32 bits of the length the server announced for the file being fetched, -1 when
    // it announced none.
    std::int32_t Filelen = 0;
    const std::string Zipname;

    // Starts the check and returns; each request's answer takes it on a step, on the
    // window's thread. A click while a check runs does nothing.
    void Getnewversionclick();
    // Progress of a transfer: bytes received so far.
    void httpWork(std::int64_t WorkCount);
    // Ends a running check at once: what the server still sends is dropped, and no
    // message or save dialog of this check comes up any more.
    void cancel();

    bool running() const { return running_; }

  private:
    struct Versions {
        double installed, server;
    };
    using Fetched = std::function<void(std::optional<std::string> body)>;
    // HEAD (which sets Filelen), then GET; nothing when either fails.
    void fetch(const std::string& url, Fetched then);
    // The steps after each answer, on the window's thread.
    void version_fetched(const std::optional<std::string>& text);
    // The messages after the version step; both numbers when the user wants the archive.
    std::optional<Versions> offer_update(const std::optional<std::string>& text);
    void archive_fetched(const std::optional<std::string>& archive, const Versions& versions);
    void save(const std::string& archive, const Versions& versions);
    std::string format(const std::string& text, double installed, double server) const;

    Services services_;
    const InfoTexts& texts_;
    std::string base_url_;
    std::string exe_path_;
    std::function<bool(double&)> installed_version_;
    char decimal_separator_;
    bool running_ = false;
};

}  // namespace tastomat
