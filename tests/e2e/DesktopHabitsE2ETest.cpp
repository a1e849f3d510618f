// What a Linux user expects of the program's windows under a window manager: start-up dialogs in the
// middle of the screen, the focus back in the owner whenever a dialog closes, the desktop's keys, a
// dialog that cannot be minimised away, and an exit without a crash after a menu has been open.

#include "ProgramTest.h"

#include <cstdlib>

using namespace klt::e2e;

TEST_F(ProgramTest, StartupQuestionsOpenInTheMiddleOfTheScreen) {
    WritePasswordFile(File("other.klt"), "pw", {"Mail"});
    Start({"other.klt"});
    const Window prompt = m_desktop.WaitForActiveWindow("Enter the password for other.klt.");
    ASSERT_NE(prompt, 0u);
    const QPoint centre(m_desktop.ScreenSize().width() / 2, m_desktop.ScreenSize().height() / 2);
    EXPECT_LE((m_desktop.Geometry(prompt).center() - centre).manhattanLength(), 40);
}

TEST_F(ProgramTest, FocusComesBackToTheMainWindowAfterNestedDialogsEveryTime) {
    const Window frame = StartFirst("a.klt");
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
}

TEST_F(ProgramTest, ModalDialogCannotBeMinimisedAway) {
    const Window frame = StartFirst("a.klt");
    ASSERT_NE(frame, 0u);
    Desktop::Key("Insert");
    const Window dialog = m_desktop.WaitForActiveWindow("New entry");
    ASSERT_NE(dialog, 0u);
    Desktop::Minimize(dialog);
    EXPECT_TRUE(m_desktop.WaitUntilActive(dialog));
    EXPECT_TRUE(m_desktop.IsShown(frame));
}

TEST_F(ProgramTest, DesktopKeysWorkAndExitAfterAMenuEndsCleanly) {
    setenv("MALLOC_PERTURB_", "165", 1); // freed memory read after exit shows at once
    const Window frame = StartFirst("a.klt");
    unsetenv("MALLOC_PERTURB_");
    ASSERT_NE(frame, 0u);
    Desktop::Key("space"); // marks the row
    Desktop::Key("KP_Enter");
    ASSERT_NE(m_desktop.WaitForActiveWindow("Properties"), 0u);
    Desktop::Key("Escape");
    ASSERT_TRUE(m_desktop.WaitUntilActive(frame));
    Desktop::Key("shift+F10");
    Desktop::Key("p"); // Properties, from the context menu
    ASSERT_NE(m_desktop.WaitForActiveWindow("Properties"), 0u);
    Desktop::Key("Escape");
    ASSERT_TRUE(m_desktop.WaitUntilActive(frame));
    Desktop::Key("F10");
    Desktop::Key("x"); // File Exit
    EXPECT_EQ(m_processes.back()->WaitForExit(), 0);
}
