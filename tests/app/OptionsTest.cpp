// View, Options: the hot key, the start-up file and the start at log-on in the tray.

#include "AppTestSupport.h"
#include "DesktopEntry.h"
#include "FakeHotKey.h"
#include "ScriptedUser.h"

#include <fstream>
#include <sstream>

namespace fs = std::filesystem;
using klt::testing::AppTest;
using klt::testing::ReadSetting;
using klt::testing::ScriptedUser;
using klt::testing::WriteSetting;

namespace {

std::string ReadText(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

WORD FieldKey(CDialog& d, bool bModifiers) {
    WORD wKey = 0;
    WORD wModifiers = 0;
    dynamic_cast<CHotKeyCtrl*>(d.GetDlgItem(IDC_HOTKEY))->GetHotKey(wKey, wModifiers);
    return bModifiers ? wModifiers : wKey;
}

} // namespace

class OptionsTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        Start({"/s", "a.klt"}); // a named file: nothing is made at start
        m_pApp->SetHotKeyService(&m_hotKey);
        m_pApp->RegisterAppHotKey();
        m_entry = klt::AutostartEntryPath("Keyloft");
    }
    // The command as the View menu gives it.
    void Options() const { Frame()->SendMessage(WM_COMMAND, ID_VIEW_OPTIONS); }

    klt::FakeHotKey m_hotKey;
    ScriptedUser m_user;
    std::string m_entry;
};

TEST_F(OptionsTest, FirstUseShowsTheDefaultsWhileTheHotKeyIsFreeAndOkStoresThem) {
    m_user.Dialog(IDD_OPTIONS)
        .Inspect([this](CDialog& d) {
            EXPECT_EQ(FieldKey(d, false), VK_INSERT);
            EXPECT_EQ(FieldKey(d, true), HOTKEYF_ALT | HOTKEYF_EXT);
            EXPECT_EQ(d.GetDlgItemText(IDC_HOTKEY), "Alt + Insert");
            EXPECT_EQ(dynamic_cast<CButton*>(d.GetDlgItem(IDC_ENABLE_HOTKEY))->GetCheck(), BST_CHECKED);
            EXPECT_EQ(dynamic_cast<CButton*>(d.GetDlgItem(IDC_TRAY))->GetCheck(), BST_UNCHECKED);
            EXPECT_EQ(d.GetDlgItemText(IDC_STARTUP_FILE), "DEFAULT.KLT");
            // Pressing the combination now only sets the field.
            EXPECT_FALSE(m_hotKey.Press());
        })
        .Focus(IDC_HOTKEY)
        .Key(Qt::Key_F7, Qt::ControlModifier | Qt::ShiftModifier)
        .Click(IDOK);
    Options();
    EXPECT_EQ(ReadSetting("Settings/HotKeyVK"), "118");
    EXPECT_EQ(ReadSetting("Settings/HotKeyMOD"), "6"); // MOD_CONTROL | MOD_SHIFT
    EXPECT_EQ(ReadSetting("Settings/HotKeyEnable"), "1");
    EXPECT_EQ(ReadSetting("Settings/Startup File"), "DEFAULT.KLT");
    EXPECT_EQ(m_hotKey.registered, klt::FakeHotKey::Combination(MOD_CONTROL | MOD_SHIFT, 0x76));
    EXPECT_FALSE(fs::exists(m_entry));
}

TEST_F(OptionsTest, StartupFileWithoutAnyDotGetsKlt) {
    const std::pair<std::string, std::string> cases[] = {
        {"mine", "mine.klt"},
        {"", ".klt"},
        {"/home/ann/my.files/pw", "/home/ann/my.files/pw"},
        {"notes.txt", "notes.txt"},
    };
    for (const auto& [typed, stored] : cases) {
        m_user.Dialog(IDD_OPTIONS).Type(IDC_STARTUP_FILE, typed).Click(IDOK);
        Options();
        EXPECT_EQ(ReadSetting("Settings/Startup File"), stored) << typed;
    }
}

TEST_F(OptionsTest, TrayBoxWritesAndRemovesTheAutostartEntryAndSwitchesTheCloseRuleAtOnce) {
    m_pApp->m_strProgramPath = "/opt/my apps/100%/key$loft";
    m_user.Dialog(IDD_OPTIONS).Click(IDC_TRAY).Click(IDOK);
    Options();
    EXPECT_FALSE(m_pApp->ExitsOnClose());
    const std::string entry = ReadText(m_entry);
    EXPECT_TRUE(entry.starts_with("[Desktop Entry]\nType=Application\nName=Keyloft\n")) << entry;
    EXPECT_NE(entry.find("\nExec=\"/opt/my apps/100%%/key\\\\$loft\" /s\n"), std::string::npos) << entry;
    EXPECT_EQ(fs::status(m_entry).permissions(), fs::perms::owner_read | fs::perms::owner_write);

    // Its presence is what the box shows; clearing it removes the entry.
    m_user.Dialog(IDD_OPTIONS)
        .Inspect([](CDialog& d) {
            EXPECT_EQ(dynamic_cast<CButton*>(d.GetDlgItem(IDC_TRAY))->GetCheck(), BST_CHECKED);
        })
        .Click(IDC_TRAY)
        .Click(IDOK);
    Options();
    EXPECT_TRUE(m_pApp->ExitsOnClose());
    EXPECT_FALSE(fs::exists(fs::symlink_status(m_entry)));
    EXPECT_TRUE(m_user.MessageBoxes().empty());
}

TEST_F(OptionsTest, CancelWritesNothingAndTakesTheUnchangedHotKeyAgain) {
    WriteSetting("Settings/HotKeyMOD", "2");
    WriteSetting("Settings/HotKeyVK", "112");
    m_pApp->RegisterAppHotKey();
    m_user.Dialog(IDD_OPTIONS)
        .Inspect([](CDialog& d) { EXPECT_EQ(d.GetDlgItemText(IDC_HOTKEY), "Ctrl + F1"); })
        .Click(IDC_TRAY)
        .Click(IDC_ENABLE_HOTKEY)
        .Type(IDC_STARTUP_FILE, "other")
        .Focus(IDC_HOTKEY)
        .Key(Qt::Key_Backspace)
        .Click(IDCANCEL);
    const int nUnregisterBefore = m_hotKey.unregisterCalls;
    Options();
    EXPECT_EQ(m_hotKey.unregisterCalls, nUnregisterBefore + 1);
    EXPECT_EQ(m_hotKey.registered, klt::FakeHotKey::Combination(MOD_CONTROL, 112));
    EXPECT_EQ(ReadSetting("Settings/HotKeyEnable"), "");
    EXPECT_EQ(ReadSetting("Settings/Startup File"), "");
    EXPECT_FALSE(fs::exists(m_entry));
    EXPECT_TRUE(m_pApp->ExitsOnClose());
}

TEST_F(OptionsTest, BrowseReplacesOnlyTheStartupFile) {
    m_user.Dialog(IDD_OPTIONS)
        .Click(IDC_TRAY)
        .Click(IDC_ENABLE_HOTKEY)
        .Click(IDC_BROWSE)
        .ChooseFile("/srv/keys/team.klt")
        .Inspect([](CDialog& d) {
            EXPECT_EQ(d.GetDlgItemText(IDC_STARTUP_FILE), "/srv/keys/team.klt");
            EXPECT_EQ(dynamic_cast<CButton*>(d.GetDlgItem(IDC_TRAY))->GetCheck(), BST_CHECKED);
            EXPECT_EQ(dynamic_cast<CButton*>(d.GetDlgItem(IDC_ENABLE_HOTKEY))->GetCheck(), BST_UNCHECKED);
        })
        .Click(IDC_BROWSE)
        .CancelFileDialog()
        .Click(IDOK);
    Options();
    ASSERT_EQ(m_user.FileDialogs().size(), 2u);
    EXPECT_TRUE(m_user.FileDialogs()[0].bOpen);
    EXPECT_EQ(m_user.FileDialogs()[0].qtFilter, "Keyloft Files (*.klt);;All Files (*)");
    EXPECT_EQ(m_user.FileDialogs()[0].defaultSuffix, "KLT");
    EXPECT_EQ(ReadSetting("Settings/Startup File"), "/srv/keys/team.klt");
    EXPECT_EQ(ReadSetting("Settings/HotKeyEnable"), "0");
    EXPECT_TRUE(fs::exists(m_entry));
    // A disabled hot key is not taken again.
    EXPECT_FALSE(m_hotKey.registered.has_value());
}

TEST_F(OptionsTest, ClearedHotKeyStoresNothingAndRegistersNothingSilently) {
    m_user.Dialog(IDD_OPTIONS).Focus(IDC_HOTKEY).Key(Qt::Key_Delete).Click(IDOK);
    Options();
    EXPECT_EQ(ReadSetting("Settings/HotKeyVK"), "0");
    EXPECT_EQ(ReadSetting("Settings/HotKeyMOD"), "0");
    EXPECT_FALSE(m_pApp->m_bHotKeyRegistered);
    EXPECT_TRUE(m_user.MessageBoxes().empty());
}

TEST_F(OptionsTest, AutostartFailuresAreReportedAndTheCloseRuleFollowsTheBoxOnlyOnceTheFolderIsThere) {
    const fs::path folder = fs::path(m_entry).parent_path();
    struct Case {
        const char* what;
        bool bFolderIsFile; // else the entry is a folder that holds a file
        bool bCheck;
        UINT nExpected;
        BOOL bBefore; // the close rule before
        BOOL bAfter;
    };
    const Case cases[] = {
        {"no folder", true, true, IDS_AUTOSTART_FOLDER_FAILED, TRUE, TRUE},
        {"no entry written", false, true, IDS_AUTOSTART_ENTRY_FAILED, TRUE, FALSE},
        {"no entry removed", false, false, IDS_AUTOSTART_ENTRY_FAILED, FALSE, TRUE},
    };
    for (const Case& c : cases) {
        fs::remove_all(folder);
        if (c.bFolderIsFile) {
            std::ofstream(folder.string()) << "x";
        } else {
            fs::create_directories(fs::path(m_entry) / "keep");
        }
        m_pApp->m_bExitOnClose = c.bBefore;
        // The box shows an entry that is there (a folder too); a click sets it as the case wants.
        const bool bShown = !c.bFolderIsFile;
        m_user.Dialog(IDD_OPTIONS).Type(IDC_STARTUP_FILE, c.what);
        if (bShown != c.bCheck) {
            m_user.Click(IDC_TRAY);
        }
        m_user.Click(IDOK).Answer(IDOK);
        Options();
        ASSERT_FALSE(m_user.MessageBoxes().empty()) << c.what;
        const auto& box = m_user.MessageBoxes().back();
        const std::string expected =
            c.nExpected == IDS_AUTOSTART_FOLDER_FAILED
                ? "Could not open or create the autostart folder " + folder.string() + "."
                : "Could not write or remove the autostart entry.";
        EXPECT_TRUE(box.text.starts_with(expected)) << c.what << ": " << box.text;
        EXPECT_EQ(box.Icon(), MB_ICONSTOP) << c.what;
        EXPECT_EQ(m_pApp->ExitsOnClose(), c.bAfter) << c.what;
        // The settings were written before.
        EXPECT_EQ(ReadSetting("Settings/Startup File"), std::string(c.what) + ".klt") << c.what;
    }
    fs::remove_all(folder);
}
