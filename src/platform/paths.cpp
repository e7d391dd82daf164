#include "platform/paths.h"

namespace tastomat {
namespace {

// Bytes of the UTF-8 sequence that starts with `lead`: a drive "letter" may be any character.
size_t sequence_length(unsigned char lead) {
    if (lead >= 0xF0) return 4;
    if (lead >= 0xE0) return 3;
    if (lead >= 0xC0) return 2;
    return 1;
}

// Position of the extension's dot inside path, or npos when the file name has none.
size_t extension_dot(std::string_view path) {
    const size_t name_start = path.size() - file_name_of(path).size();
    const size_t dot = path.rfind('.');
    return dot == std::string_view::npos || dot < name_start ? std::string_view::npos : dot;
}

}  // namespace

std::string drive_part(std::string_view path) {
    if (path.empty()) return {};
    const size_t first = sequence_length(static_cast<unsigned char>(path[0]));
    if (path.size() > first && path[first] == ':') return std::string(path.substr(0, first + 1));
    if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') {
        const size_t server_end = path.find('\\', 2);
        if (server_end == std::string_view::npos) return std::string(path);
        return std::string(path.substr(0, path.find('\\', server_end + 1)));
    }
    return {};
}

std::string complete_drive(std::string_view path, std::string_view drive) {
    if (!drive_part(path).empty()) return std::string(path);
    return std::string(drive) + std::string(path);
}

std::string file_name_part(std::string_view path) {
    const size_t separator = path.find_last_of("\\:");
    if (separator == std::string_view::npos) return std::string(path);
    return std::string(path.substr(separator + 1));
}

std::string folder_part(std::string_view path) {
    const size_t end = path.find_last_of("\\:");
    return end == std::string_view::npos ? std::string() : std::string(path.substr(0, end + 1));
}

std::string_view file_name_of(std::string_view path) {
    const size_t sep = path.find_last_of("\\/");
    return sep == std::string_view::npos ? path : path.substr(sep + 1);
}

std::string file_stem(std::string_view path) {
    const std::string_view name = file_name_of(path);
    return std::string(name.substr(0, extension_dot(name)));
}

std::string change_extension(std::string_view path, std::string_view extension) {
    return std::string(path.substr(0, extension_dot(path))) + std::string(extension);
}

std::string with_trailing_backslash(std::string path) {
    if (path.empty() || path.back() != '\\') path += '\\';
    return path;
}

std::string without_trailing_backslash(std::string path) {
    while (!path.empty() && path.back() == '\\') path.pop_back();
    return path;
}

}  // namespace tastomat
