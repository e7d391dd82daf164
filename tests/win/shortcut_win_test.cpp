#include <gtest/gtest.h>
#include <windows.h>

#include <shlobj.h>

#include <filesystem>

#include "platform/win32/registry_win.h"
#include "platform/win32/scoped.h"
#include "platform/win32/shell_link_win.h"
#include "platform/win32/wide.h"

namespace tastomat {
namespace {

namespace fs = std::filesystem;

// What the shell itself reads back from a link file.
ShellLinkProperties read_link(const std::wstring& path) {
    ComPtr<IShellLinkW> link;
    ComPtr<IPersistFile> file;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                link.put_void())) ||
        FAILED(link->QueryInterface(IID_IPersistFile, file.put_void())) ||
        FAILED(file->Load(path.c_str(), STGM_READ)))
        return {};
    wchar_t target[MAX_PATH] = {}, arguments[1024] = {}, description[1024] = {}, dir[MAX_PATH] = {};
    link->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH);
    link->GetArguments(arguments, 1024);
    link->GetDescription(description, 1024);
    link->GetWorkingDirectory(dir, MAX_PATH);
    return {to_utf8(target), to_utf8(arguments), to_utf8(description), to_utf8(dir)};
}

class ShellLinkWinTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(com_.ok());
        wchar_t temp[MAX_PATH];
        GetTempPathW(MAX_PATH, temp);
        root_ = fs::path(temp) / (L"tastomat-link-" + std::to_wstring(GetCurrentProcessId()));
        fs::create_directories(root_ / L"Autostart \u00e4");
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(root_, ec);
    }
    ScopedCom com_;
    fs::path root_;
    WinShellLinkWriter writer_;
};

TEST_F(ShellLinkWinTest, WrittenLinkReadsBackAndIsReplacedNotDuplicated) {
    const fs::path link = root_ / L"Autostart \u00e4" / L"Tastomat.lnk";
    const std::string target = to_utf8((root_ / L"Tastomat.exe").wstring());
    ShellLinkProperties props{target, "-x \"a b\"", "Tastomat \u00fc",
                              to_utf8(root_.wstring()) + "\\"};
    // The link file is written whether or not the target exists yet.
    ASSERT_TRUE(writer_.save(props, to_utf8(link.wstring())));
    EXPECT_EQ(read_link(link.wstring()), props);

    props.arguments.clear();
    ASSERT_TRUE(writer_.save(props, to_utf8(link.wstring())));
    EXPECT_EQ(read_link(link.wstring()), props);
    EXPECT_EQ(std::distance(fs::directory_iterator(link.parent_path()), {}), 1);

    // A folder that is not there is not made: the save fails and says so.
    EXPECT_FALSE(writer_.save(props, to_utf8((root_ / L"Fehlt" / L"Tastomat.lnk").wstring())));
    EXPECT_FALSE(fs::exists(root_ / L"Fehlt"));
}

// Values under a key of the test's own, removed afterwards.
TEST(UserRegistryWin, ReadsTextAsStoredAndRefusesOtherTypes) {
    const std::wstring key = L"Software\\TastomatTest" + std::to_wstring(GetCurrentProcessId());
    struct Cleanup {
        std::wstring key;
        ~Cleanup() { RegDeleteTreeW(HKEY_CURRENT_USER, key.c_str()); }
    } cleanup{key};
    HKEY sub = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, (key + L"\\Shell Folders").c_str(), 0, nullptr, 0,
                              KEY_ALL_ACCESS, nullptr, &sub, nullptr),
              ERROR_SUCCESS);
    auto put = [&](const wchar_t* name, DWORD type, const std::wstring& text) {
        RegSetValueExW(sub, name, 0, type, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
    };
    put(L"Startup", REG_SZ, L"C:\\Users\\anna\\Start Menu\\Programs\\Autostart \u00e4");
    put(L"Desktop", REG_EXPAND_SZ, L"%USERPROFILE%\\Desktop");
    const DWORD number = 7;
    RegSetValueExW(sub, L"Zahl", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                   sizeof number);
    const std::wstring long_text(3000, L'x');
    put(L"Lang", REG_SZ, long_text);
    RegCloseKey(sub);

    WinUserRegistry registry;
    const std::string k = to_utf8(key);
    EXPECT_EQ(registry.read_string(k, "shell folders", "STARTUP"),
              "C:\\Users\\anna\\Start Menu\\Programs\\Autostart \u00e4");
    EXPECT_EQ(registry.read_string(k, "Shell Folders", "Desktop"), "%USERPROFILE%\\Desktop");
    EXPECT_EQ(registry.read_string(k, "Shell Folders", "Lang"), to_utf8(long_text));
    EXPECT_THROW(registry.read_string(k, "Shell Folders", "Zahl"), RegistryError);
    EXPECT_EQ(registry.read_string(k, "Shell Folders", "Fehlt"), "");
    EXPECT_EQ(registry.read_string(k, "Fehlt", "Startup"), "");
    // A missing key is made, as the shell's own folder keys would be.
    EXPECT_EQ(registry.read_string(k + "\\Neu", "Shell Folders", "Startup"), "");
    HKEY made = nullptr;
    EXPECT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, (key + L"\\Neu").c_str(), 0, KEY_READ, &made),
              ERROR_SUCCESS);
    if (made) RegCloseKey(made);
}

}  // namespace
}  // namespace tastomat
