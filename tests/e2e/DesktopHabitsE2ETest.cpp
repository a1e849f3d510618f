
#include "e2e/ProgramTest.h"

#include <QProcess>
#include <utility>

using namespace klt::e2e;

TEST_F(ProgramTest, FocusReturnsAfterNestedDialogsNoDialogIsMinimisedAwayAndExitAfterAMenuIsClean) {
    setenv("MALLOC_PERTURB_", "165", 1); // memory read after it was freed shows at once
    const Window frame = StartFirst("a.klt");
    unsetenv("MALLOC_PERTURB_");
    ASSERT_NE(frame, 0u);
    for (int i = 0; i < 12; ++i) {
        Desktop::Key("Insert");
        ASSERT_NE(m_desktop.WaitForActiveWindow("New entry"), 0u) << i;
        Desktop::Type("S" + std::to_string(i));
        Desktop::Key("Tab");
        Desktop::Key("Tab");
        Desktop::Type("pw");
        Desktop::Key("Return");
        ASSERT_NE(m_desktop.WaitForActiveWindow("Confirm Password"), 0u) << i;
        Desktop::Type("pw");
        Desktop::Key("Return");
        ASSERT_TRUE(m_desktop.WaitUntilActive(frame)) << i;
    }
    Desktop::Key("KP_Enter"); // Properties of the last entry added
    const Window dialog = m_desktop.WaitForActiveWindow("Properties");
    Desktop::Minimize(dialog); // returns once the dialog is hidden
    ASSERT_EQ(m_desktop.WaitForWindow("Properties"), dialog);
    ASSERT_TRUE(m_desktop.WaitUntilActive(dialog));
    Desktop::Key("Escape");
    ASSERT_TRUE(m_desktop.WaitUntilActive(frame)); // back from the minimised state with its dialog
    Desktop::Key("F10");
    Desktop::Key("x"); // File Exit, then No to the save question
    ASSERT_NE(m_desktop.WaitForActiveWindow("Keyloft"), 0u);
    Desktop::Key("alt+n");
    EXPECT_EQ(m_processes.back()->WaitForExit(), 0);
}

TEST_F(ProgramTest, HelpAndVersionPrintWithoutADisplayAndLeaveTheRunningInstanceAlone) {
    ASSERT_NE(StartFirst("a.klt"), 0u);
    WritePasswordFile(File("b.klt"), "", {"Bank"});
    const std::pair<const char*, const char*> cases[] = {{"--help", "Usage: keyloft "},
                                                         {"--version", "Keyloft "}};
    for (const auto& [word, start] : cases) {
        QProcess process;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove("DISPLAY");
        process.setProcessEnvironment(environment);
        process.setWorkingDirectory(QString::fromStdString(File("")));
        process.start(QString::fromStdString(m_program), {"b.klt", word});
        ASSERT_TRUE(process.waitForFinished(static_cast<int>(kBound.count()))) << word;
        EXPECT_EQ(process.exitCode(), 0) << word;
        EXPECT_TRUE(process.readAllStandardOutput().startsWith(start)) << word;
    }
    EXPECT_EQ(ReadSetting("Settings/Last File"), File("a.klt")); // no hand-over of b.klt
}

TEST_F(ProgramTest, DashesInsideFileNamesAreNoSwitches) {
    for (const char* name : {"my-stuff.klt", "home-mail.klt"}) { // once tray mode, once minimised
        const Window window = StartFirst(name);
        EXPECT_NE(window, 0u) << name;
        EXPECT_FALSE(m_desktop.IsIconic(window)) << name;
        m_processes.back()->Crash();
    }
}

TEST_F(ProgramTest, AStartupFileInAMissingFolderGetsOneMessageAndTheWindowOpensUntitled) {
    WriteSetting("Settings/Startup File", (m_home / "gone/deeper/start.klt").string());
    Start({});
    ASSERT_NE(m_desktop.WaitForActiveWindow("Keyloft"), 0u);
    Desktop::Key("Return");
    const Window frame = m_desktop.WaitForActiveWindow("Untitled - Keyloft");
    ASSERT_NE(frame, 0u);
    EXPECT_EQ(m_desktop.ProgramWindows(), std::vector<Window>{frame}); // no password question
    EXPECT_FALSE(std::filesystem::exists(m_home / "gone"));
}
