// The shipped executable as Windows sees it: version resource, manifest and icon.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "version.h"

namespace {

// Set by the build: the path of the Tastomat.exe built beside these tests.
const wchar_t* const kExe = TASTOMAT_EXE_PATH;

struct Module {
    HMODULE handle =
        LoadLibraryExW(kExe, nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ~Module() {
        if (handle) FreeLibrary(handle);
    }
};

TEST(Executable, VersionResourceCarriesTheProjectVersion) {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(kExe, &ignored);
    ASSERT_GT(size, 0u) << "no version resource";
    std::vector<BYTE> data(size);
    ASSERT_TRUE(GetFileVersionInfoW(kExe, 0, size, data.data()));
    VS_FIXEDFILEINFO* info = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&info), &length));
    EXPECT_EQ(HIWORD(info->dwFileVersionMS), TASTOMAT_VERSION_MAJOR);
    EXPECT_EQ(LOWORD(info->dwFileVersionMS), TASTOMAT_VERSION_MINOR);
    EXPECT_EQ(HIWORD(info->dwFileVersionLS), TASTOMAT_VERSION_PATCH);

    wchar_t* text = nullptr;
    ASSERT_TRUE(VerQueryValueW(data.data(), L"\\StringFileInfo\\040704B0\\FileVersion",
                               reinterpret_cast<void**>(&text), &length));
    EXPECT_EQ(std::wstring(text), std::wstring(L"" TASTOMAT_VERSION_TEXT_W));
}

TEST(Executable, CarriesManifestAndIcon) {
    Module exe;
    ASSERT_NE(exe.handle, nullptr);
    HRSRC manifest = FindResourceW(exe.handle, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_NE(manifest, nullptr);
    const auto* bytes = static_cast<const char*>(LockResource(LoadResource(exe.handle, manifest)));
    const std::string text(bytes, SizeofResource(exe.handle, manifest));
    EXPECT_NE(text.find("PerMonitorV2"), std::string::npos);
    EXPECT_NE(text.find("Microsoft.Windows.Common-Controls"), std::string::npos);
    EXPECT_NE(text.find("asInvoker"), std::string::npos);
    EXPECT_NE(FindResourceW(exe.handle, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(14)), nullptr)
        << "no application icon";
}

}  // namespace
