#pragma once
// Taking Windows paths apart. Paths are UTF-8 text; every rule of the program that splits a
// path uses these, so a slot, a settings file and a link are cut up the same way.
#include <string>
#include <string_view>

namespace tastomat {

// "X:" for a path whose second character is a colon; "\\server\share" for a network path;
// "" for anything else.
std::string drive_part(std::string_view path);

// The path with `drive` in front when it has no drive part of its own.
std::string complete_drive(std::string_view path, std::string_view drive);

// The text after the last "\" or ":" ("" for a folder ending in "\" or a bare "E:").
std::string file_name_part(std::string_view path);

// Everything up to and including the last "\" or ":"; "" when there is neither.
std::string folder_part(std::string_view path);

// The name after the last "\" (or "/").
std::string_view file_name_of(std::string_view path);
// The file name without its extension (the text after the last "." of the name).
std::string file_stem(std::string_view path);
// The path with the extension of its file name replaced, or appended when it has none.
std::string change_extension(std::string_view path, std::string_view extension);

// The path ending in exactly the "\" it may already have.
std::string with_trailing_backslash(std::string path);
// The path without the "\" it ends in: a drive's root "E:\" becomes the drive "E:", the way
// the user knows it and slot paths start.
std::string without_trailing_backslash(std::string path);

}  // namespace tastomat
