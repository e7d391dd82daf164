#include "support/shortcut_installer.h"

#include <gtest/gtest.h>

#include "support/fakes.h"

namespace tastomat {
namespace {

constexpr const char* kExplorer = "Software\\MicroSoft\\Windows\\CurrentVersion\\Explorer";
constexpr const char* kUnchanged = "(unchanged)";

struct LinkCase {
    const char* name;
    std::uint8_t kind;
    std::string subfolder, working_directory, target;
    std::string result_path;  // kUnchanged: no folder was found
    bool written;
    std::string link_directory;  // the working directory stored in a written link
};

struct ShortcutInstallerTest : ::testing::Test {
    test::FakeFileSystem files;
    test::FakeUserRegistry registry;
    test::FakeShellLinkWriter links{files};

    ShortcutInstallerTest() {
        registry.set(kExplorer, "Shell Folders", "Desktop", "C:\\Users\\anna\\Desktop");
        registry.set("Software\\MicroSoft\\Windows\\CurrentVersion\\GrpConv", "MapGroups",
                     "Quick Launch", "C:\\Users\\anna\\Quick Launch");
        registry.set(kExplorer, "Shell Folders", "SendTo", "C:\\Users\\anna\\SendTo");
        registry.set(kExplorer, "Shell Folders", "Start Menu", "C:\\Users\\anna\\Start Menu\\");
        registry.set(kExplorer, "Shell Folders", "Startup", "C:\\Users\\anna\\Startup");
        for (const char* dir :
             {"Desktop", "Quick Launch", "SendTo\\Extra", "Start Menu", "Startup"})
            files.add_dir(std::string("C:\\Users\\anna\\") + dir);
        files.add_dir("C:\\Ziel");
    }
};

TEST_F(ShortcutInstallerTest, LinkGoesToTheKindsFolderUnderTheTargetsName) {
    const std::string exe = "D:\\Tools\\Tastomat.exe";
    const LinkCase cases[] = {
        {"desktop", kLinkDesktop, "", "", exe, "C:\\Users\\anna\\Desktop\\Tastomat.lnk", true,
         "D:\\Tools\\"},
        {"quick launch", kLinkQuickLaunch, "", "", exe,
         "C:\\Users\\anna\\Quick Launch\\Tastomat.lnk", true, "D:\\Tools\\"},
        {"send-to subfolder", kLinkSendTo, "Extra", "", exe,
         "C:\\Users\\anna\\SendTo\\Extra\\Tastomat.lnk", true, "D:\\Tools\\"},
        {"subfolder is not created", kLinkSendTo, "Fehlt", "", exe,
         "C:\\Users\\anna\\SendTo\\Fehlt\\Tastomat.lnk", false, ""},
        {"folder value ending in a backslash", kLinkStartMenu, "", "", exe,
         "C:\\Users\\anna\\Start Menu\\\\Tastomat.lnk", true, "D:\\Tools\\"},
        {"given folder is not added twice", kLinkGivenFolder, "C:\\Ziel", "", exe,
         "C:\\Ziel\\Tastomat.lnk", true, "D:\\Tools\\"},
        {"given folder left empty", kLinkGivenFolder, "", "", exe, kUnchanged, false, ""},
        {"startup with its own working directory", kLinkStartup, "", "C:\\Arbeit", exe,
         "C:\\Users\\anna\\Startup\\Tastomat.lnk", true, "C:\\Arbeit"},
        {"target without extension", kLinkStartup, "", "", "D:\\Tools\\tastomat",
         "C:\\Users\\anna\\Startup\\tastomat.lnk", true, "D:\\Tools\\"},
        {"target at a drive's root", kLinkDesktop, "", "", "E:\\x.exe",
         "C:\\Users\\anna\\Desktop\\x.lnk", true, "E:\\"},
        {"unknown kind", 6, "C:\\Ziel", "", exe, kUnchanged, false, ""},
    };
    for (const LinkCase& c : cases) {
        SCOPED_TRACE(c.name);
        links.links.clear();
        std::string result = kUnchanged;
        EXPECT_EQ(CreateShortcut(c.target, c.kind, c.subfolder, c.working_directory, "-x",
                                 "Tastomat", result, registry, links),
                  c.written);
        EXPECT_EQ(result, c.result_path);
        if (c.written) {
            const ShellLinkProperties expected{c.target, "-x", "Tastomat", c.link_directory};
            EXPECT_EQ(links.links[c.result_path], expected);
        }
        EXPECT_EQ(links.links.size(), c.written ? 1u : 0u);
    }
}

TEST_F(ShortcutInstallerTest, AutostartFailsWithoutFolderLinkObjectOrTextValue) {
    const std::string exe = "D:\\Tools\\Tastomat.exe";
    EXPECT_TRUE(InstallAutostart("Tastomat", exe, registry, links));
    EXPECT_EQ(links.links["C:\\Users\\anna\\Startup\\Tastomat.lnk"],
              (ShellLinkProperties{exe, "", "Tastomat", "D:\\Tools\\"}));

    // The failures the user must hear about: none of them leaves a link behind.
    links.links.clear();
    files.dirs.erase(test::FakeFileSystem::key("C:\\Users\\anna\\Startup"));
    EXPECT_FALSE(InstallAutostart("Tastomat", exe, registry, links));
    registry.values.erase(test::FakeUserRegistry::path(kExplorer, "Shell Folders", "Startup"));
    links.saves.clear();
    EXPECT_FALSE(InstallAutostart("Tastomat", exe, registry, links));
    EXPECT_TRUE(links.saves.empty());
    registry.not_text.insert(test::FakeUserRegistry::path(kExplorer, "Shell Folders", "Startup"));
    EXPECT_THROW(InstallAutostart("Tastomat", exe, registry, links), RegistryError);
    registry.not_text.clear();
    files.add_dir("C:\\Users\\anna\\Startup");
    registry.set(kExplorer, "Shell Folders", "Startup", "C:\\Users\\anna\\Startup");
    links.unavailable = true;
    EXPECT_THROW(InstallAutostart("Tastomat", exe, registry, links), ShellLinkError);
    EXPECT_TRUE(links.links.empty());
}

}  // namespace
}  // namespace tastomat
