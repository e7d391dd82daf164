#pragma once
// The running program's own version as the info dialog shows it and the update check
// compares it, the user's language class, and the names derived from the program file.
#include <string>
#include <string_view>

#include "platform/clock.h"
#include "platform/executable_file.h"

namespace tastomat {

// "2.5.0 Build: 17": release and build count for the text only.
std::string version_text(const FileVersion& version);
// major + minor / 100 as the nearest double: 2.5.0.17 gives 2.05, 1.150 gives 2.5.
double version_number(const FileVersion& version);
// A file with version information but without a fixed block counts as 1.0.0.0.
FileVersion effective_version(const VersionInformation& information);

// Both leave their argument alone and return false when the file has no version
// information.
bool GetVersionText(std::string& Version, ExecutableFile& exe, const std::string& path);
bool GetVersionNumber(double& Number, ExecutableFile& exe, const std::string& path);

// 0 German, 1 English, 2 any other language, from a Windows language identifier; every
// regional variant counts as its language.
int language_of(unsigned language_id);

// The update archive's name on the server: the program file's name in lower case with
// the extension ".zip" (Tastomat.exe gives tastomat.zip).
std::string zip_name(std::string_view exe_path);

// The file date as the info dialog shows it: regional short date and long time, seconds
// truncated to an even number, and the date alone at exactly midnight.
std::string file_date_text(LocalDateTime time, Clock& clock);

}  // namespace tastomat
