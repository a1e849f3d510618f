// Profile settings over QSettings, the command line, and the key names of the hot-key field.

#include "framework/Framework.h"

#include <QSettings>
#include <QStandardPaths>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

namespace {

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_app.SetRegistryKey("Quellmoor");
        m_app.GetSettings().clear();
    }
    CWinApp m_app;
};

} // namespace

TEST_F(SettingsTest, IntegersAndStringsWithDefaultsLiveInTheUsersConfigFolder) {
    EXPECT_EQ(m_app.GetProfileInt("Settings", "HotKeyVK", 45), 45u);
    EXPECT_EQ(m_app.GetProfileString("Settings", "Startup File", "DEFAULT.KLT"), "DEFAULT.KLT");
    EXPECT_EQ(m_app.GetProfileString("Settings", "Last File"), "");
    ASSERT_TRUE(m_app.WriteProfileInt("Settings", "HotKeyVK", 112));
    ASSERT_TRUE(m_app.WriteProfileInt("Settings", "HWND", -1));
    ASSERT_TRUE(m_app.WriteProfileString("Settings", "Last File", std::string("/home/ann/a,b.klt")));
    EXPECT_EQ(m_app.GetProfileInt("Settings", "HotKeyVK", 45), 112u);
    EXPECT_EQ(m_app.GetProfileInt("Settings", "HWND", 0), 0xFFFFFFFFu);
    EXPECT_EQ(m_app.GetProfileString("Settings", "Last File"), "/home/ann/a,b.klt");

    // Another process reads the same file at once ("HWND", "Last File" are how instances meet).
    const std::string file = std::string(std::getenv("XDG_CONFIG_HOME")) + "/Quellmoor/Keyloft.conf";
    ASSERT_TRUE(std::filesystem::exists(file));
    QSettings other(QString::fromStdString(file), QSettings::IniFormat);
    EXPECT_EQ(other.value("Settings/HotKeyVK").toInt(), 112);
    EXPECT_EQ(other.value("Settings/Last File").toString().toStdString(), "/home/ann/a,b.klt");

    // They name the user's files: for the user's eyes only, also after an older start left them open.
    namespace fs = std::filesystem;
    const fs::path folder = fs::path(file).parent_path();
    fs::permissions(file, fs::perms(0644));
    fs::permissions(folder, fs::perms(0755));
    m_app.SetRegistryKey("Quellmoor");
    ASSERT_TRUE(m_app.WriteProfileInt("Settings", "HotKeyVK", 113));
    EXPECT_EQ(fs::status(file).permissions(), fs::perms(0600));
    EXPECT_EQ(fs::status(folder).permissions(), fs::perms(0700));
}

TEST_F(SettingsTest, StringsKeepBytesThatAreNotUtf8AndValuesCanBeRemoved) {
    const std::string bytes = "/tmp/Caf\xE9.klt";
    ASSERT_TRUE(m_app.WriteProfileString("Settings", "Last File", bytes));
    EXPECT_EQ(m_app.GetProfileString("Settings", "Last File"), bytes);
    ASSERT_TRUE(m_app.WriteProfileString("Settings", "Last File", nullptr));
    EXPECT_EQ(m_app.GetProfileString("Settings", "Last File", "gone"), "gone");
    m_app.WriteProfileString("Recent File List", "File1", std::string("/a.klt"));
    ASSERT_TRUE(m_app.WriteProfileString("Recent File List", nullptr, nullptr));
    EXPECT_EQ(m_app.GetProfileString("Recent File List", "File1", "gone"), "gone");
    m_app.WriteProfileString("Settings", "HotKeyVK", std::string("not a number"));
    EXPECT_EQ(m_app.GetProfileInt("Settings", "HotKeyVK", 45), 45u);
}

TEST(CommandLine, SwitchesAreToldFromTheFileName) {
    CWinApp app;
    app.SetCommandLine({"/s", "-N", "/home/ann/my files/a.klt", "later.klt"});
    EXPECT_EQ(app.m_lpCmdLine, "/s -N \"/home/ann/my files/a.klt\" later.klt");
    CCommandLineInfo info;
    app.ParseCommandLine(info);
    EXPECT_EQ(info.m_nShellCommand, CCommandLineInfo::FileOpen);
    EXPECT_EQ(info.m_strFileName, "/home/ann/my files/a.klt");

    CCommandLineInfo none;
    app.SetCommandLine({"/S", "/m"});
    app.ParseCommandLine(none);
    EXPECT_EQ(none.m_nShellCommand, CCommandLineInfo::FileNew);
    EXPECT_EQ(none.m_strFileName, "");

    CCommandLineInfo print;
    app.SetCommandLine({"-p", "a.klt"});
    app.ParseCommandLine(print);
    EXPECT_EQ(print.m_nShellCommand, CCommandLineInfo::FilePrint);
    EXPECT_EQ(print.m_strFileName, "a.klt");

    EXPECT_TRUE(CCommandLineInfo::IsSwitch("/?"));
    EXPECT_FALSE(CCommandLineInfo::IsSwitch("/tmp"));        // an existing folder
    EXPECT_FALSE(CCommandLineInfo::IsSwitch("/home/x.klt")); // a path
    EXPECT_FALSE(CCommandLineInfo::IsSwitch("-"));
}

TEST(VirtualKeys, QtKeysMapToTheStoredCodesAndBack) {
    bool bExtended = false;
    EXPECT_EQ(klt::VirtualKeyFromQt(Qt::Key_Insert, false, &bExtended), VK_INSERT);
    EXPECT_TRUE(bExtended);
    EXPECT_EQ(klt::VirtualKeyFromQt(Qt::Key_0, true, &bExtended), VK_NUMPAD0);
    EXPECT_FALSE(bExtended);
    EXPECT_EQ(klt::VirtualKeyFromQt(Qt::Key_Exclam, false), '1'); // Shift+1 on the US layout
    EXPECT_EQ(klt::VirtualKeyFromQt(Qt::Key_Enter, false), VK_RETURN);
    for (WORD vk : {WORD('A'), WORD('7'), VK_F1, VK_DELETE, VK_PRIOR, VK_OEM_2, VK_RETURN}) {
        EXPECT_EQ(klt::VirtualKeyFromQt(klt::QtKeyFromVirtualKey(vk), false), vk) << vk;
    }
    EXPECT_EQ(klt::HotKeyText(VK_INSERT, HOTKEYF_ALT | HOTKEYF_EXT), "Alt + Insert");
    EXPECT_EQ(klt::HotKeyText('P', HOTKEYF_CONTROL | HOTKEYF_SHIFT), "Ctrl + Shift + P");
    EXPECT_EQ(klt::HotKeyText(0, 0), "None");
}

// A global hot key must not take a character from every other program.
TEST(Settings, AKeyThatTypesACharacterIsAGlobalHotKeyOnlyWithCtrlOrAlt) {
    const struct {
        UINT nModifiers;
        WORD vk;
        bool bGlobal;
    } cases[] = {
        {0, 'K', false},
        {MOD_SHIFT, '7', false},
        {0, VK_SPACE, false},
        {0, VK_OEM_2, false},
        {MOD_SHIFT, VK_OEM_7, false},
        {0, VK_NUMPAD0 + 5, false},
        {MOD_ALT, 'K', true},
        {MOD_CONTROL | MOD_SHIFT, '7', true},
        {0, VK_F1 + 4, true},
        {0, VK_INSERT, true},
        {0, VK_PAUSE, true},
        {MOD_SHIFT, VK_F1, true},
        {0, VK_RETURN, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(klt::IsGlobalHotKey(c.nModifiers, c.vk), c.bGlobal) << c.nModifiers << " " << c.vk;
    }
}
