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
    fetch(base_url_ + change_extension(Zipname, ".ver"),
          [this](const std::optional<std::string>& text) { version_fetched(text); });
}

void UpdateCheck::cancel() {
    services_.http.cancel();
    running_ = false;
}

void UpdateCheck::fetch(const std::string& url, Fetched then) {
    services_.http.head(
        url, [this, url, then = std::move(then)](std::optional<std::int64_t> length) {
            if (!length) return then(std::nullopt);
            Filelen = static_cast<std::int32_t>(static_cast<std::uint32_t>(*length & 0xFFFFFFFF));
            services_.http.get(
                url, [this](std::int64_t count) { httpWork(count); }, then);
        });
}

void UpdateCheck::version_fetched(const std::optional<std::string>& text) {
    std::optional<Versions> agreed;
    try {
        agreed = offer_update(text);
    } catch (...) {
        running_ = false;
        throw;
    }
    // The check goes on only to fetch the archive the user agreed to.
    running_ = agreed.has_value();
    if (!agreed) return;
    fetch(base_url_ + Zipname,
          [this, versions = *agreed](const std::optional<std::string>& archive) {
              archive_fetched(archive, versions);
          });
}

std::optional<UpdateCheck::Versions> UpdateCheck::offer_update(
    const std::optional<std::string>& text) {
    const InfoTexts& texts = texts_;
    // No file, no answer: counting that as some version would tell the user a falsehood
    // ("nothing newer", or an offer of 1.0).
    if (!text) {
        services_.dialog.inform(texts.connect_failed);
        return std::nullopt;
    }
    // A server that answered with a text holding no number still counts as having 1.0.
    const double server = parse_version_file(*text).value_or(1.0);
    double installed = 0;
    if (!installed_version_(installed)) return std::nullopt;
    if (installed == server) {
        services_.dialog.inform(texts.up_to_date);
        return std::nullopt;
    }
    if (!services_.dialog.ask(format(texts.update_question, installed, server)))
        return std::nullopt;
    return Versions{installed, server};
}

void UpdateCheck::archive_fetched(const std::optional<std::string>& archive,
                                  const Versions& versions) {
    const ScopeExit done([this] { running_ = false; });
    try {
        if (!archive) throw HttpError("no archive");
        save(*archive, versions);
    } catch (const std::exception&) {
        services_.dialog.inform(texts_.connect_failed);
    }
}

void UpdateCheck::save(const std::string& archive, const Versions& versions) {
    const InfoTexts& texts = texts_;
    ArchiveSaveRequest request{texts.save_filter, "zip", folder_part(exe_path_),
                               change_extension(exe_path_, ".zip")};
    const auto chosen = services_.dialog.save_archive_as(request);
    if (!chosen) return;
    // Whatever the user typed, it is saved as a zip archive.
    const std::string path = change_extension(*chosen, ".zip");
    services_.files.replace_file(path, archive);

    if (!services_.shell.open_document("\"" + path + "\"", kShowNormal))
        services_.dialog.inform(texts.unzip_failed);
    services_.dialog.inform(format(texts.downloaded, versions.installed, versions.server));
}

void UpdateCheck::httpWork(std::int64_t WorkCount) {
    services_.dialog.show_progress(
        format_message(texts_.progress, {WorkCount, std::int64_t{Filelen}}, decimal_separator_));
}

std::string UpdateCheck::format(const std::string& text, double installed, double server) const {
    return format_message(text, {installed, server}, decimal_separator_);
}

}  // namespace tastomat
