#include "info/version.h"

#include "platform/paths.h"
#include "table/table_file.h"

namespace tastomat {

std::string version_text(const FileVersion& version) {
    return std::to_string(version.major) + "." + std::to_string(version.minor) + "." +
           std::to_string(version.release) + " Build: " + std::to_string(version.build);
}

double version_number(const FileVersion& version) {
    // One division of an exact integer: major + minor / 100.0 is off in the last bit for
    // some versions (1.14), and the server's number would then never compare equal.
    return (100.0 * version.major + version.minor) / 100.0;
}

FileVersion effective_version(const VersionInformation& information) {
    return information.fixed.value_or(FileVersion{});
}

bool GetVersionText(std::string& Version, ExecutableFile& exe, const std::string& path) {
    const auto information = exe.version_information(path);
    if (!information) return false;
    Version = version_text(effective_version(*information));
    return true;
}

bool GetVersionNumber(double& Number, ExecutableFile& exe, const std::string& path) {
    const auto information = exe.version_information(path);
    if (!information) return false;
    Number = version_number(effective_version(*information));
    return true;
}

int language_of(unsigned language_id) {
    switch (language_id & 0x3FF) {
        case 0x07:
            return 0;
        case 0x09:
            return 1;
        default:
            return 2;
    }
}

std::string zip_name(std::string_view exe_path) {
    // ASCII only: the name becomes part of a URL on the maker's server, where the files
    // are named in plain ASCII.
    std::string name(file_name_of(exe_path));
    for (char& ch : name)
        if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
    return change_extension(name, ".zip");
}

std::string file_date_text(LocalDateTime time, Clock& clock) {
    // The resolution of the file times of old FAT drives, where the program may sit.
    time.second -= time.second % 2;
    return start_time_text(clock, time);
}

}  // namespace tastomat
