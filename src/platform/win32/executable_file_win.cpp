#include "platform/win32/executable_file_win.h"

#include <windows.h>

#include <vector>

#include "platform/win32/wide.h"

namespace tastomat {

std::optional<VersionInformation> WinExecutableFile::version_information(const std::string& path) {
    const std::wstring file = to_wide(path);
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(file.c_str(), &ignored);
    if (size == 0) return std::nullopt;
    std::vector<BYTE> data(size);
    if (!GetFileVersionInfoW(file.c_str(), 0, size, data.data())) return std::nullopt;

    VersionInformation information;
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    if (VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) && fixed &&
        length >= sizeof(VS_FIXEDFILEINFO)) {
        information.fixed =
            FileVersion{HIWORD(fixed->dwFileVersionMS), LOWORD(fixed->dwFileVersionMS),
                        HIWORD(fixed->dwFileVersionLS), LOWORD(fixed->dwFileVersionLS)};
    }
    return information;
}

std::optional<LocalDateTime> WinExecutableFile::last_written(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA attributes{};
    if (!GetFileAttributesExW(to_wide(path).c_str(), GetFileExInfoStandard, &attributes))
        return std::nullopt;
    SYSTEMTIME utc{}, local{};
    if (!FileTimeToSystemTime(&attributes.ftLastWriteTime, &utc) ||
        !SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local))
        return std::nullopt;
    return LocalDateTime{local.wYear, local.wMonth,  local.wDay,
                         local.wHour, local.wMinute, local.wSecond};
}

}  // namespace tastomat
