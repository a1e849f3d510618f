// The start: switches, normal and tray mode, and the choice (and creation) of the start-up file.

#include "app/AppTestSupport.h"
#include "app/instance/InstanceLock.h"
#include "app/version/VersionInfo.h"
#include "frame/TrayIcon.h"
#include "framework/MessageBox.h"
#include "store/PasswordFileContent.h"
#include "support/scripted/ScriptedUser.h"

#include <QStandardPaths>
#include <fstream>
#include <sys/stat.h>

namespace fs = std::filesystem;
using klt::testing::AppTest;
using klt::testing::ReadSetting;
using klt::testing::ScriptedUser;
using klt::testing::WritePasswordFile;
using klt::testing::WriteSetting;

namespace {

std::string SwitchesOf(const std::vector<std::string>& args) {
    CKLTApp app;
    app.SetCommandLine(args);
    std::string set;
    for (const char letter : std::string("?SNM")) {
        if (app.IsSwitchSet(letter)) {
            set += letter;
        }
    }
    return set;
}

} // namespace

TEST(Switches, ADashOrASlashCountsAtTheStartOfAWordInEitherCase) {
    EXPECT_EQ(SwitchesOf({}), "");
    EXPECT_EQ(SwitchesOf({"-?"}), "?");
    EXPECT_EQ(SwitchesOf({"a.klt", "/?"}), "?");
    EXPECT_EQ(SwitchesOf({"/s", "-N"}), "SN");
    EXPECT_EQ(SwitchesOf({"/Sx"}), "S"); // nothing has to follow the letter
    EXPECT_EQ(SwitchesOf({"-m", "/"}), "M");
    EXPECT_EQ(SwitchesOf({"x-s-m"}), ""); // a dash inside a word belongs to a file name
    EXPECT_EQ(SwitchesOf({"C:\\work\\my-stuff\\a.klt"}), "");
    EXPECT_EQ(SwitchesOf({"/home/ann/my-stuff/a.klt", "home-mail.klt"}), "");
    EXPECT_EQ(SwitchesOf({"a.klt"}), "");
}

TEST(Switches, FolderSeparatorsAreNoSwitches) {
    EXPECT_EQ(SwitchesOf({"/srv/b.klt"}), "");
    EXPECT_EQ(SwitchesOf({"/media/sam/Secrets/n.klt"}), "");
    EXPECT_EQ(SwitchesOf({"sub/secrets.klt"}), "");
    EXPECT_EQ(SwitchesOf({"/s/"}), "");
}

class StartupTest : public AppTest {};

TEST_F(StartupTest, SwitchListEndsTheStartBeforeTheInstanceLock) {
    ScriptedUser user;
    user.Answer(IDOK);
    Start({"a.klt", "-?"}, FALSE);
    ASSERT_EQ(user.MessageBoxes().size(), 1u);
    EXPECT_EQ(user.MessageBoxes()[0].text,
              "Startup switches:\n\n/S - Start in System Tray Mode\n/N - Start in "
              "Normal Mode\n/M - Start Minimized (normal mode only)");
    EXPECT_EQ(user.MessageBoxes()[0].Icon(), MB_ICONINFORMATION);
    EXPECT_EQ(m_pApp->m_pMainWnd, nullptr);
    EXPECT_EQ(ReadSetting("Settings/Last File"), "");
    klt::InstanceLock lock;
    EXPECT_EQ(lock.Acquire("KLT_MUTEX"), klt::InstanceLock::Result::first);
}

TEST_F(StartupTest, SwitchesChooseNormalTrayOrMinimisedStart) {
    fs::create_directories(m_folder / "my-stuff");
    const std::string plain = "a.klt";
    const std::string dashed = "my-stuff/b.klt";
    WritePasswordFile(File(plain), "", {"Mail"});
    WritePasswordFile(File(dashed), "", {"Bank"});
    struct Case {
        std::vector<std::string> args;
        bool bShown;
        bool bMinimised;
    };
    const Case cases[] = {
        {{plain}, true, false},
        {{"/S", "/N", plain}, true, false},
        {{"/M", plain}, true, true},
        {{"/S", plain}, false, false},
        {{"/S", "/M", plain}, false, false},
        {{dashed}, true, false}, // the -s in the folder's name is no switch
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.args));
        Start(c.args);
        EXPECT_EQ(ReadSetting("Settings/Last File"), File(c.args.back()));
        EXPECT_EQ(Frame()->IsWindowVisible(), c.bShown);
        EXPECT_EQ(Frame()->IsIconic(), c.bMinimised);
        // Tray mode opens nothing yet; the window holds the empty untitled document.
        EXPECT_EQ(Doc()->GetPathName(), c.bShown ? File(c.args.back()) : "");
        EXPECT_EQ(Doc()->m_entryList.size(), c.bShown ? 1u : 0u);
        EXPECT_EQ(m_pApp->m_nSuppressActivate, 0);
        EXPECT_EQ(ReadSetting("Settings/HWND"), std::to_string(Frame()->GetSafeHwnd()));
    }
}

TEST_F(StartupTest, FileOnTheCommandLineIsRecordedInFullAndNeverCreated) {
    WritePasswordFile(File("a.klt"), "");
    Start({"a.klt", "later.klt"});
    EXPECT_EQ(ReadSetting("Settings/Last File"), File("a.klt"));
    EXPECT_EQ(Doc()->GetPathName(), File("a.klt"));

    Start({"/s", "missing.klt"});
    EXPECT_EQ(ReadSetting("Settings/Last File"), File("missing.klt"));
    EXPECT_FALSE(fs::exists(File("missing.klt")));
}

TEST_F(StartupTest, MissingStartupFileIsCreatedAfterTheNoticeWithTheNewMasterPassword) {
    WriteSetting("Settings/Startup File", File("start.klt"));
    ScriptedUser user;
    user.Answer(IDOK);
    user.Dialog(IDD_MASTER_PASSWORD).Type(IDC_NEW_PASSWORD, "pw").Click(IDOK);
    user.Dialog(IDD_CONFIRM_PASSWORD).Type(IDC_CONFIRM, "pw").Click(IDOK);
    Start({});

    ASSERT_EQ(user.MessageBoxes().size(), 1u);
    EXPECT_EQ(user.MessageBoxes()[0].text, klt::LoadString(IDS_DEFAULT_FILE_CREATED));
    EXPECT_EQ(user.MessageBoxes()[0].Icon(), MB_ICONINFORMATION);
    ASSERT_TRUE(fs::exists(File("start.klt")));
    struct stat info {};
    ASSERT_EQ(stat(File("start.klt").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    klt::PasswordFileContent content;
    EXPECT_EQ(content.LoadFile(File("start.klt"), [] { return std::optional<std::string>("pw"); }),
              klt::ReadStatus::ok);
    EXPECT_EQ(ReadSetting("Settings/Last File"), File("start.klt"));
    // The new file is the open document, shown without asking for its password again.
    EXPECT_EQ(Doc()->GetPathName(), File("start.klt"));
    EXPECT_TRUE(Frame()->IsWindowVisible());
    EXPECT_EQ(Frame()->GetWindowText(), "start.klt - Keyloft");
}

TEST_F(StartupTest, CancelledMasterPasswordWritesNoFileAndTheStartGoesOn) {
    WriteSetting("Settings/Startup File", File("start.klt"));
    ScriptedUser user;
    user.Answer(IDOK);
    user.Dialog(IDD_MASTER_PASSWORD).Click(IDCANCEL);
    user.Answer(IDOK); // the file was not saved
    Start({"/s"});
    ASSERT_EQ(user.MessageBoxes().size(), 2u);
    EXPECT_EQ(user.MessageBoxes()[1].text, klt::LoadString(IDS_FILE_NOT_SAVED));
    EXPECT_EQ(user.MessageBoxes()[1].Icon(), MB_ICONSTOP);
    EXPECT_FALSE(fs::exists(File("start.klt")));
    EXPECT_EQ(ReadSetting("Settings/Last File"), File("start.klt"));
    EXPECT_NE(m_pApp->m_pMainWnd, nullptr);
}

TEST_F(StartupTest, StartupFileWithAFolderIsTakenFromTheCurrentFolder) {
    fs::create_directories(m_folder / "sub");
    WritePasswordFile(File("sub/x.klt"), "", {"Mail"});
    WriteSetting("Settings/Startup File", "sub/x.klt");
    Start({});
    EXPECT_EQ(ReadSetting("Settings/Last File"), File("sub/x.klt"));
    EXPECT_EQ(Doc()->m_entryList.size(), 1u);
    ScriptedUser user; // a new file is saved, at first, beside the start-up file, not in the current folder
    user.CancelFileDialog();
    m_pApp->m_pMainWnd->SendMessage(WM_COMMAND, ID_FILE_NEW);
    m_pApp->m_pMainWnd->SendMessage(WM_COMMAND, ID_FILE_SAVE_AS);
    ASSERT_EQ(user.FileDialogs().size(), 1u);
    EXPECT_EQ(fs::path(user.FileDialogs()[0].initialPath).parent_path(), m_folder / "sub");

    // Written the Windows way, it names no folder here but is no bare name either.
    WritePasswordFile(File("sub\\y.klt"), "", {"Mail", "Bank"});
    WriteSetting("Settings/Startup File", "sub\\y.klt");
    Start({});
    EXPECT_EQ(ReadSetting("Settings/Last File"), File("sub\\y.klt"));
    EXPECT_EQ(Doc()->m_entryList.size(), 2u);
}

TEST_F(StartupTest, StartupFileThatExistsButCannotBeReadIsNeverReplaced) {
    // A link that points at itself cannot be opened, for root neither; a pipe would wait for a writer.
    fs::create_symlink("start.klt", File("start.klt"));
    ASSERT_EQ(mkfifo(File("pipe.klt").c_str(), 0600), 0);
    for (const char* pszName : {"start.klt", "pipe.klt"}) {
        SCOPED_TRACE(pszName);
        WriteSetting("Settings/Startup File", File(pszName));
        ScriptedUser user;
        user.Answer(IDOK); // the open's own complaint
        Start({});
        ASSERT_EQ(user.MessageBoxes().size(), 1u);
        EXPECT_NE(user.MessageBoxes()[0].text, klt::LoadString(IDS_DEFAULT_FILE_CREATED));
        EXPECT_FALSE(fs::is_regular_file(fs::symlink_status(File(pszName))));
        EXPECT_EQ(Frame()->IsWindowVisible(), !klt::IsTrayHostAvailable());
    }
}

TEST_F(StartupTest, AStartupFileNotOpenedLeavesTheWindowUpUnlessATrayIconKeepsTheProgramAtHand) {
    WritePasswordFile(File("a.klt"), "pw", {"Mail"});
    for (const bool bTrayHost : {false, true}) {
        klt::SetTrayHostQuery([bTrayHost] { return bTrayHost; });
        ScriptedUser user;
        user.Dialog(IDD_PASSWORD).Escape();
        Start({"a.klt"});
        EXPECT_EQ(Frame()->IsWindowVisible(), !bTrayHost);
        EXPECT_EQ(Doc()->GetPathName(), "");
    }
    klt::SetTrayHostQuery({});
}

TEST_F(StartupTest, VersionStringsAndBuildTimeComeFromTheProgramFile) {
    const CKLTApp app;
    EXPECT_EQ(app.m_strProductName, "Keyloft");
    EXPECT_EQ(app.m_strProductVersion, "1.1");
    EXPECT_EQ(app.m_strOriginalFilename, "keyloft");
    EXPECT_NE(app.m_strLegalCopyright.find("Quellmoor"), std::string::npos);
    // The test program carries the block as the program does; its folder is "beside the program".
    EXPECT_EQ(app.m_strProgramPath, (fs::path(klt::RunningProgramPath()).parent_path() / "keyloft").string());
    EXPECT_GT(app.m_timeBuild, 1700000000);
    EXPECT_LE(app.m_timeBuild, time(nullptr));
    EXPECT_TRUE(app.m_bExitOnClose);
    EXPECT_FALSE(app.m_bHotKeyRegistered);
}

// Without a tray to call it back from (as offscreen), closing minimises the window instead of hiding it.
TEST_F(StartupTest, AutostartEntryMakesClosingTheWindowKeepTheProgram) {
    WritePasswordFile(File("a.klt"), "", {"Mail"});
    Start({"a.klt"});
    EXPECT_TRUE(m_pApp->m_bExitOnClose);

    const std::string autostart =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString() + "/autostart";
    fs::create_directories(autostart);
    std::ofstream(autostart + "/Keyloft.desktop") << "[Desktop Entry]\n";
    Start({"a.klt"});
    EXPECT_FALSE(m_pApp->m_bExitOnClose);
    Frame()->SendMessage(WM_CLOSE);
    ASSERT_NE(m_pApp->m_pMainWnd, nullptr); // the program goes on
    EXPECT_TRUE(Frame()->IsIconic());
    EXPECT_EQ(Doc()->GetPathName(), "");
    EXPECT_TRUE(Doc()->m_entryList.empty());
    EXPECT_EQ(Frame()->GetWindowText(), "Untitled - Keyloft");

    Configure();
    EXPECT_TRUE(Frame()->IsWindowVisible());
    EXPECT_EQ(Doc()->m_entryList.size(), 1u);
}

TEST_F(StartupTest, LockAndChannelLiveOnlyInAFolderOfTheUsersOwn) {
    const std::string runtime = std::getenv("XDG_RUNTIME_DIR");
    const std::string config = std::getenv("XDG_CONFIG_HOME");
    const klt::testing::TempFolder cacheFolder("klt_cache_");
    const std::string cache = cacheFolder.Path().string();
    setenv("XDG_CACHE_HOME", cache.c_str(), 1);
    fs::create_directories(File("open"));
    fs::permissions(File("open"), fs::perms::all); // open to others; then one too long; then none
    for (const std::string& folder : {File("open"), "/tmp/" + std::string(100, 'r'), std::string()}) {
        SCOPED_TRACE(folder);
        folder.empty() ? unsetenv("XDG_RUNTIME_DIR") : setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
        EXPECT_EQ(klt::RuntimeFolder(), cache + "/keyloft-runtime");
        EXPECT_EQ(fs::status(cache + "/keyloft-runtime").permissions(), fs::perms::owner_all);
    }

    // Nowhere to make one: the start says so and ends.
    std::ofstream(File("plain")) << "";
    setenv("XDG_CACHE_HOME", File("plain/cache").c_str(), 1);
    setenv("XDG_CONFIG_HOME", File("plain/config").c_str(), 1);
    ScriptedUser user;
    user.Answer(IDOK);
    Start({}, FALSE);
    setenv("XDG_RUNTIME_DIR", runtime.c_str(), 1);
    setenv("XDG_CONFIG_HOME", config.c_str(), 1);
    unsetenv("XDG_CACHE_HOME");
    ASSERT_EQ(user.MessageBoxes().size(), 1u);
    EXPECT_EQ(user.MessageBoxes()[0].text, klt::LoadString(IDS_NO_PRIVATE_FOLDER));
}
