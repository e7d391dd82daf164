#include "info/update_check.h"

#include <utility>

#include "info/info_texts.h"
#include "info/version.h"
#include "info/version_file.h"
#include "platform/paths.h"
#include "support/scope_exit.h"

namespace tastomat {
namespace {

constexpr int kShowNormal = 1;  // SW_SHOWNORMAL

}  // namespace

UpdateCheck::UpdateCheck(Services services, const InfoTexts& texts, std::string base_url,
                         std::string exe_path, std::function<bool(double&)> installed_version,
                         char decimal_separator)
    : Zipname(zip_name(exe_path)),
      services_(services),
      texts_(texts),
      base_url_(std::move(base_url)),
      exe_path_(std::move(exe_path)),
      installed_version_(std::move(installed_version)),
      decimal_separator_(decimal_separator) {}

void UpdateCheck::Getnewversionclick() {
    if (running_) return;
    running_ = true;
    const ScopeExit done([this] { running_ = false; });

    const InfoTexts& texts = texts_;
    const std::optional<double> server = server_version();
    if (!server) {
        services_.dialog.inform(texts.connect_failed);
        return;
    }
    double installed = 0;
    if (!installed_version_(installed)) return;
    if (installed == *server) {
        services_.dialog.inform(texts.up_to_date);
        return;
    }
    if (!services_.dialog.ask(format(texts.update_question, installed, *server))) return;
    download(installed, *server);
}

std::optional<double> UpdateCheck::server_version() {
    std::string text;
    try {
        const std::string url = base_url_ + change_extension(Zipname, ".ver");
        announce_length(url);
        text = services_.http.get(url, [this](std::int64_t count) { httpWork(count); });
    } catch (const std::exception&) {
        // No file, no answer: counting that as some version would tell the user a
        // falsehood ("nothing newer", or an offer of 1.0).
        return std::nullopt;
    }
    // A server that answered with a text holding no number still counts as having 1.0.
    return parse_version_file(text).value_or(1.0);
}

void UpdateCheck::download(double installed, double server) {
    const InfoTexts& texts = texts_;
    try {
        const std::string url = base_url_ + Zipname;
        announce_length(url);
        const std::string archive =
            services_.http.get(url, [this](std::int64_t count) { httpWork(count); });

        ArchiveSaveRequest request{texts.save_filter, "zip", folder_part(exe_path_),
                                   change_extension(exe_path_, ".zip")};
        const auto chosen = services_.dialog.save_archive_as(request);
        if (!chosen) return;
        // Whatever the user typed, it is saved as a zip archive.
        const std::string path = change_extension(*chosen, ".zip");
        services_.files.replace_file(path, archive);

        if (!services_.shell.open_document("\"" + path + "\"", kShowNormal))
            services_.dialog.inform(texts.unzip_failed);
        services_.dialog.inform(format(texts.downloaded, installed, server));
    } catch (const std::exception&) {
        services_.dialog.inform(texts.connect_failed);
    }
}

void UpdateCheck::announce_length(const std::string& url) {
    const std::int64_t length = services_.http.head(url);
    Filelen = static_cast<std::int32_t>(static_cast<std::uint32_t>(length & 0xFFFFFFFF));
}

void UpdateCheck::httpWork(std::int64_t WorkCount) {
    services_.dialog.show_progress(
        format_message(texts_.progress, {WorkCount, std::int64_t{Filelen}}, decimal_separator_));
}

std::string UpdateCheck::format(const std::string& text, double installed, double server) const {
    return format_message(text, {installed, server}, decimal_separator_);
}

}  // namespace tastomat
