// The real program, started as a user starts it: the first start, one instance per user with the
// hand-over of a second start, the switches, and closing the window to the tray.

#include "e2e/ProgramTest.h"

#include <QStandardPaths>
#include <fcntl.h>
#include <fstream>
#include <sys/file.h>
#include <unistd.h>

namespace fs = std::filesystem;
using namespace klt::e2e;

TEST_F(ProgramTest, FirstStartMakesTheDefaultFileBesideTheProgram) {
    Start({});
    const Window notice = m_desktop.WaitForActiveWindow("Keyloft");
    ASSERT_NE(notice, 0u);
    Desktop::Key("Return");
    ASSERT_NE(m_desktop.WaitForActiveWindow("Master password"), 0u);
    Desktop::Type("pw");
    Desktop::Key("Return");
    ASSERT_NE(m_desktop.WaitForActiveWindow("Confirm Password"), 0u);
    Desktop::Type("pw");
    Desktop::Key("Return");

    const Window frame = m_desktop.WaitForWindow("DEFAULT.KLT - Keyloft");
    ASSERT_NE(frame, 0u);
    const std::string created = (m_home / "prog/DEFAULT.KLT").string();
    EXPECT_TRUE(fs::exists(created));
    EXPECT_EQ(fs::status(created).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(ReadSetting("Settings/Last File"), created);
    EXPECT_EQ(ReadSetting("Settings/HWND"), std::to_string(frame));
}

TEST_F(ProgramTest, SecondStartOpensItsFileInTheFirstWhichComesToTheFront) {
    const Window first = StartFirst("a.klt");
    ASSERT_NE(first, 0u);
    // Another program has the front; the second start is made in another folder, with a relative name.
    fs::create_directories(m_home / "elsewhere");
    WritePasswordFile((m_home / "elsewhere/b.klt").string(), "", {"Bank", "Shop"});
    KeyloftProcess other("xterm", {"-title", "other"}, m_home.string());
    const Window terminal = m_desktop.WaitForWindow("other");
    ASSERT_NE(terminal, 0u);
    Desktop::Activate(terminal);
    ASSERT_TRUE(m_desktop.WaitUntilActive(terminal));

    KeyloftProcess& second = Start({"b.klt"}, (m_home / "elsewhere").string());
    EXPECT_EQ(second.WaitForExit(), 0);
    EXPECT_EQ(ReadSetting("Settings/Last File"), (m_home / "elsewhere/b.klt").string());
    EXPECT_EQ(m_desktop.WaitForWindow("b.klt - Keyloft"), first);
    EXPECT_TRUE(m_desktop.WaitUntilActive(first));
    EXPECT_EQ(m_desktop.ProgramWindows(), std::vector<Window>{first});
}

TEST_F(ProgramTest, SecondStartWaitsUntilTheFirstHasAskedAboutItsChanges) {
    const Window first = StartFirst("a.klt");
    ASSERT_NE(first, 0u);
    WritePasswordFile(File("b.klt"), "", {"Bank", "Shop"});
    Desktop::Key("Insert");
    ASSERT_NE(m_desktop.WaitForActiveWindow("New entry"), 0u);
    Desktop::Type("Car");
    Desktop::Key("Return");

    KeyloftProcess& second = Start({"b.klt"});
    const Window question = m_desktop.WaitForActiveWindow("Keyloft");
    ASSERT_NE(question, 0u);
    EXPECT_TRUE(second.IsRunning()); // it waits for the first to finish
    Desktop::Key("alt+n");
    EXPECT_EQ(m_desktop.WaitForWindow("b.klt - Keyloft"), first);
    EXPECT_EQ(second.WaitForExit(), 0);
    EXPECT_EQ(ReadSetting("Settings/Last File"), File("b.klt"));
}

TEST_F(ProgramTest, StartsDuringAPasswordQuestionWaitAndOpenTheirFilesAfterItInTurn) {
    const Window first = StartFirst("c.klt");
    ASSERT_NE(first, 0u);
    WritePasswordFile(File("a.klt"), "pw", {"Alpha"});
    WritePasswordFile(File("b.klt"), "", {"Bank"});
    KeyloftProcess& second = Start({"a.klt"});
    ASSERT_NE(m_desktop.WaitForActiveWindow("Enter the password for a.klt."), 0u);
    // The third start records its file and sends its message while the question is up.
    KeyloftProcess& third = Start({"b.klt"});
    ASSERT_EQ(WaitForSettingOtherThan("Settings/Last File", File("a.klt")), File("b.klt"));

    Desktop::Type("pw");
    Desktop::Key("Return");
    EXPECT_EQ(second.WaitForExit(), 0);
    EXPECT_EQ(third.WaitForExit(), 0);
    EXPECT_EQ(m_desktop.WaitForWindow("b.klt - Keyloft"), first);
    // Both were opened, a.klt first: the recent-file list, written as the program ends, says so.
    m_desktop.Close(first);
    EXPECT_EQ(m_processes.front()->WaitForExit(), 0);
    EXPECT_EQ(ReadSetting("Recent File List/File1"), File("b.klt"));
    EXPECT_EQ(ReadSetting("Recent File List/File2"), File("a.klt"));
}

TEST_F(ProgramTest, SecondStartThatReachesNobodySaysSoAndFails) {
    // A first instance holds the lock but has not yet written its own window's id.
    const std::string lock =
        QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation).toStdString() + "/KLT_MUTEX";
    const int fd = open(lock.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    ASSERT_EQ(flock(fd, LOCK_EX | LOCK_NB), 0);
    WriteSetting("Settings/HWND", "12345");

    KeyloftProcess& second = Start({});
    ASSERT_NE(m_desktop.WaitForActiveWindow("Keyloft"), 0u);
    Desktop::Key("Return");
    EXPECT_EQ(second.WaitForExit(), 1);
    // The start-up file is recorded but never made by a second instance.
    EXPECT_EQ(ReadSetting("Settings/Last File"), (m_home / "prog/DEFAULT.KLT").string());
    EXPECT_FALSE(fs::exists(m_home / "prog/DEFAULT.KLT"));
    EXPECT_TRUE(m_desktop.ProgramWindows().empty());
    close(fd);
}

TEST_F(ProgramTest, CrashedInstanceLeavesNoLockBehind) {
    const Window crashed = StartFirst("a.klt");
    ASSERT_NE(crashed, 0u);
    m_processes.back()->Crash();

    WritePasswordFile(File("b.klt"), "", {"Bank"});
    KeyloftProcess& next = Start({"b.klt"});
    const Window window = m_desktop.WaitForWindow("b.klt - Keyloft");
    ASSERT_NE(window, 0u);
    EXPECT_TRUE(next.IsRunning());
    EXPECT_EQ(ReadSetting("Settings/HWND"), std::to_string(window));
}

TEST_F(ProgramTest, TrayModeOpensNothingUntilTheWindowIsCalledUp) {
    WritePasswordFile(File("a.klt"), "", {"Mail"});
    WriteSetting("Settings/Startup File", File("a.klt"));
    KeyloftProcess& tray = Start({"/s"});
    const std::string id = WaitForSettingOtherThan("Settings/HWND", "");
    ASSERT_FALSE(id.empty());
    const Window window = std::stoul(id);
    EXPECT_FALSE(m_desktop.IsShown(window));
    EXPECT_TRUE(m_desktop.ProgramWindows().empty());

    // Until there is a tray icon, starting the program again calls the window up.
    EXPECT_EQ(Start({}).WaitForExit(), 0);
    EXPECT_EQ(m_desktop.WaitForWindow("a.klt - Keyloft"), window);
    EXPECT_TRUE(tray.IsRunning());
}

// Without a tray host to call it back from, the window waits minimised.
TEST_F(ProgramTest, WithAnAutostartEntryAndNoTrayClosingTheWindowMinimisesIt) {
    const fs::path autostart =
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation).toStdString() + "/autostart";
    fs::create_directories(autostart);
    std::ofstream(autostart / "Keyloft.desktop") << "[Desktop Entry]\nExec=\"" << m_program << "\" /s\n";
    const Window window = StartFirst("a.klt");
    ASSERT_NE(window, 0u);
    KeyloftProcess& first = *m_processes.back();

    m_desktop.Close(window);
    ASSERT_TRUE(m_desktop.WaitUntilHidden(window));
    EXPECT_TRUE(m_desktop.IsIconic(window));
    EXPECT_TRUE(first.IsRunning());
    EXPECT_TRUE(m_desktop.ProgramWindows().empty());
    EXPECT_EQ(Start({"a.klt"}).WaitForExit(), 0);
    EXPECT_EQ(m_desktop.WaitForWindow("a.klt - Keyloft"), window);
    // File Exit, though, ends the program: there is no tray icon to choose Exit from.
    ASSERT_TRUE(m_desktop.WaitUntilActive(window));
    Desktop::Key("F10");
    Desktop::Key("x");
    EXPECT_EQ(first.WaitForExit(), 0);
}

TEST_F(ProgramTest, WithoutAnAutostartEntryClosingTheWindowEndsTheProgram) {
    const Window window = StartFirst("a.klt");
    ASSERT_NE(window, 0u);
    m_desktop.Close(window);
    EXPECT_EQ(m_processes.back()->WaitForExit(), 0);
}
