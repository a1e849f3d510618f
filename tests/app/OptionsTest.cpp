// View, Options: the hot key, the start-up file and the start at log-on in the tray.

#include "app/AppTestSupport.h"
#include "app/desktop/DesktopEntry.h"

#include <QProcess>
#include <fstream>

namespace fs = std::filesystem;
using klt::testing::ReadSetting;
using Combination = klt::FakeHotKey::Combination;

class OptionsTest : public klt::testing::FakeDesktopTest {
protected:
    void SetUp() override {
        FakeDesktopTest::SetUp();
        Start({"/s", "a.klt"}); // a named file: nothing is made at start
        m_pApp->RegisterAppHotKey();
    }
    void Options() const { Frame()->SendMessage(WM_COMMAND, ID_VIEW_OPTIONS); }
    static int Check(CDialog& d, int nID) { return dynamic_cast<CButton*>(d.GetDlgItem(nID))->GetCheck(); }

    const std::string m_entry = klt::AutostartEntryPath("Keyloft");
};

TEST_F(OptionsTest, FirstUseShowsTheDefaultsCancelStoresNothingAndOkStoresTheFields) {
    m_user.Dialog(IDD_OPTIONS)
        .Inspect([this](CDialog& d) {
            EXPECT_EQ(dynamic_cast<CHotKeyCtrl*>(d.GetDlgItem(IDC_HOTKEY))->GetHotKey(),
                      0x0C2Du); // Alt, extended
            EXPECT_EQ(Check(d, IDC_ENABLE_HOTKEY) - Check(d, IDC_TRAY), 1);
            EXPECT_EQ(d.GetDlgItemText(IDC_STARTUP_FILE), "DEFAULT.KLT");
            EXPECT_FALSE(m_hotKey.Press()); // the combination only sets the field now
        })
        .Click(IDC_TRAY)
        .Click(IDCANCEL);
    Options();
    EXPECT_FALSE(fs::exists(m_entry));
    EXPECT_EQ(m_hotKey.registered, Combination(MOD_ALT, VK_INSERT));

    m_user.Dialog(IDD_OPTIONS)
        .Focus(IDC_HOTKEY)
        .Key(Qt::Key_F7, Qt::ControlModifier | Qt::ShiftModifier)
        .Click(IDOK);
    Options();
    EXPECT_EQ(ReadSetting("Settings/HotKeyVK") + ReadSetting("Settings/HotKeyMOD") +
                  ReadSetting("Settings/HotKeyEnable") + ReadSetting("Settings/Startup File"),
              "11861DEFAULT.KLT");
    EXPECT_EQ(m_hotKey.registered, Combination(MOD_CONTROL | MOD_SHIFT, 118));

    // Settings written by hand that name Shift+K: the letter stays every program's.
    klt::testing::WriteSetting("Settings/HotKeyVK", "75");
    klt::testing::WriteSetting("Settings/HotKeyMOD", "4");
    EXPECT_FALSE(m_pApp->RegisterAppHotKey());
}

TEST_F(OptionsTest, AStartupFileWithoutAnyDotGetsKltAndAClearedHotKeyIsNone) {
    fs::create_directories(File("a.b"));
    for (const auto& [typed, stored] : {std::pair{std::string("mine"), std::string("mine.klt")},
                                        {"", ".klt"},
                                        {File("a.b/pw"), File("a.b/pw")}}) {
        m_user.Dialog(IDD_OPTIONS)
            .Type(IDC_STARTUP_FILE, typed)
            .Focus(IDC_HOTKEY)
            .Key(Qt::Key_Delete)
            .Click(IDOK);
        Options();
        EXPECT_EQ(ReadSetting("Settings/Startup File"), stored);
    }
    EXPECT_EQ(ReadSetting("Settings/HotKeyVK") + ReadSetting("Settings/HotKeyMOD"), "00");
    EXPECT_FALSE(m_pApp->m_bHotKeyRegistered);
}

TEST_F(OptionsTest, AStartupFileInAMissingFolderIsKeptOnlyWhenTheUserSaysSo) {
    m_user.Dialog(IDD_OPTIONS)
        .Type(IDC_STARTUP_FILE, "/no/such/pw")
        .Click(IDOK)
        .Answer(IDNO)
        .Inspect([](CDialog& d) { EXPECT_EQ(d.GetFocus(), d.GetDlgItem(IDC_STARTUP_FILE)); })
        .Click(IDCANCEL)
        .Dialog(IDD_OPTIONS)
        .Type(IDC_STARTUP_FILE, "/no/such/pw")
        .Click(IDOK)
        .Answer(IDYES);
    Options();
    EXPECT_EQ(ReadSetting("Settings/Startup File"), "");
    Options();
    EXPECT_EQ(ReadSetting("Settings/Startup File"), "/no/such/pw.klt");
    ASSERT_EQ(m_user.MessageBoxes().size(), 2u);
    EXPECT_EQ(m_user.MessageBoxes()[1].text, "The folder /no/such does not exist.  Until it does, Keyloft "
                                             "starts without a file.  Keep this start-up file?");
}

TEST_F(OptionsTest, TheTrayBoxWritesOrRemovesTheAutostartEntryAndBrowseKeepsTheBoxes) {
    m_pApp->m_strProgramPath = "/opt/my apps/100%/key$lo\tf\rt";
    m_user.Dialog(IDD_OPTIONS)
        .Click(IDC_TRAY)
        .Click(IDC_ENABLE_HOTKEY)
        .Click(IDC_BROWSE)
        .ChooseFile("/srv/team.klt")
        .Inspect([](CDialog& d) { EXPECT_EQ(Check(d, IDC_TRAY) - Check(d, IDC_ENABLE_HOTKEY), 1); })
        .Click(IDOK);
    Options();
    EXPECT_EQ(ReadSetting("Settings/Startup File") + ReadSetting("Settings/HotKeyEnable"), "/srv/team.klt0");
    EXPECT_FALSE(m_pApp->ExitsOnClose());
    std::ifstream in(m_entry);
    const std::string entry{std::istreambuf_iterator<char>(in), {}};
    EXPECT_NE(entry.find("\nExec=\"/opt/my apps/100%%/key\\\\$lo\\tf\\rt\" /s\n"), std::string::npos)
        << entry;
    QProcess validate;
    validate.start("desktop-file-validate", {QString::fromStdString(m_entry)});
    ASSERT_TRUE(validate.waitForFinished());
    EXPECT_EQ(validate.exitCode(), 0) << validate.readAllStandardOutput().toStdString();

    m_user.Dialog(IDD_OPTIONS).Click(IDC_TRAY).Click(IDOK);
    Options();
    EXPECT_TRUE(m_pApp->ExitsOnClose());
    EXPECT_FALSE(fs::exists(m_entry));
}

TEST_F(OptionsTest, AFolderThatCannotBeMadeKeepsTheCloseRuleAndAFailedWriteSwitchesIt) {
    const fs::path folder = fs::path(m_entry).parent_path();
    std::ofstream(folder.string()) << "not a folder";
    m_user.Dialog(IDD_OPTIONS).Click(IDC_TRAY).Click(IDOK).Answer(IDOK);
    Options();
    EXPECT_EQ(m_user.MessageBoxes().at(0).text,
              "Could not open or create the autostart folder " + folder.string() + ".");
    EXPECT_TRUE(m_pApp->ExitsOnClose());

    fs::remove(folder);
    fs::create_directories(m_entry + "/keep"); // an entry that cannot be replaced
    m_user.Dialog(IDD_OPTIONS).Click(IDOK).Answer(IDOK);
    Options();
    EXPECT_TRUE(
        m_user.MessageBoxes().at(1).text.starts_with("Could not write or remove the autostart entry."));
    EXPECT_EQ(m_user.MessageBoxes().at(1).Icon(), MB_ICONSTOP);
    EXPECT_FALSE(m_pApp->ExitsOnClose());
    fs::remove_all(folder);
}
