// Pasting with the real program under openbox and trayer, into an xterm recording every byte it gets.

#include "e2e/ProgramTest.h"
#include "store/PasswordFileContent.h"
#include "support/TypingTargets.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/keysym.h>
#include <fstream>

using namespace klt::e2e;

namespace {

const std::string kPassword = "Pässwörd€x"; // characters from outside the layout too
const std::string kDialog = "Paste a password or username";

} // namespace

class PasteE2ETest : public ProgramTest {
protected:
    // The program with a.klt (one entry: "Mail", "ann", kPassword) and an xterm active in front of it.
    void StartWithTarget(const std::vector<std::string>& args, const std::string& master = "",
                         const std::string& password = kPassword) {
        klt::PasswordFileContent content;
        content.bProtected = !master.empty();
        content.strMasterPassword = master;
        content.entryList.push_back(std::make_unique<QMPassword>("Mail", "ann", password, 0));
        content.SaveFile(File("a.klt"));
        WriteSetting("Settings/Startup File", File("a.klt"));
        Start(args);
        m_frame = std::stoul(WaitForSettingOtherThan("Settings/HWND", ""));
        m_target = klt::test::StartXterm(klt::test::WindowsOf(m_display));
        Desktop::Activate(m_target->Window());
        ASSERT_TRUE(m_desktop.WaitUntilActive(m_target->Window()));
    }
    // trayer sits in the bottom right corner of the screen, with our icon as its only one.
    static void ClickTrayIcon(const char* button, const char* repeat = "1") {
        QProcess::execute("xdotool", {"mousemove", "1268", "1012", "click", "--repeat", repeat, button});
    }
    // The right button's menu, then a click on its item at y (from the bottom when negative).
    void ChooseFromTrayMenu(int y) {
        const std::vector<Window> known = m_desktop.ProgramWindows();
        ClickTrayIcon("3");
        const Window menu = m_desktop.WaitForProgramWindowBesides(known);
        ASSERT_NE(menu, 0u);
        XWindowAttributes size{};
        XGetWindowAttributes(m_display.Handle(), menu, &size);
        QProcess::execute("xdotool", {"mousemove", "--window", QString::number(menu), "20",
                                      QString::number(y >= 0 ? y : size.height + y), "click", "1"});
    }
    // Chooses a button of the paste dialog, which must come up active and owned by the xterm.
    void Choose(const std::string& key) {
        const Window dialog = m_desktop.WaitForActiveWindow(kDialog);
        ASSERT_NE(dialog, 0u);
        Window owner = 0;
        XGetTransientForHint(m_display.Handle(), dialog, &owner);
        EXPECT_EQ(owner, m_target->Window());
        Desktop::Key(key);
    }

    klt::test::X11TestDisplay m_display;
    std::unique_ptr<klt::test::TypingTarget> m_target;
    Window m_frame = 0;
};

TEST_F(PasteE2ETest, HotKeyPastesIntoTheActiveWindowAlsoWithTheLockKeysOn) {
    StartWithTarget({"a.klt"});
    std::string expected;
    for (const bool bLocksOn : {false, true}) {
        m_display.SetCapsLock(bLocksOn);
        m_display.SetNumLock(bLocksOn);
        m_display.Tap(XK_Insert, {XK_Alt_L});
        Choose("alt+p");
        expected += kPassword;
        EXPECT_EQ(m_target->Received(expected), expected);
        EXPECT_TRUE(m_desktop.WaitUntilActive(m_target->Window()));
        EXPECT_TRUE(m_desktop.IsIconic(m_frame));
    }
}

TEST_F(PasteE2ETest, WithTheHotKeyDisabledTheTrayPastesByDoubleClickAndByItsMenu) {
    WriteSetting("Settings/HotKeyEnable", "0");
    StartWithTarget({"a.klt"});
    m_display.Tap(XK_Insert, {XK_Alt_L}); // not taken: the xterm gets the key itself
    ClickTrayIcon("1", "2");
    Choose("alt+p");
    const std::string expected = "\x1b[2;3~" + kPassword;
    EXPECT_EQ(m_target->Received(expected), expected);
    ChooseFromTrayMenu(12); // the first item
    Choose("alt+u");
    EXPECT_EQ(m_target->Received(expected + "ann"), expected + "ann");
}

// The target goes in the middle of a long password; the window that gets the focus gets none of it.
// Long enough that the keys are still going out when a slow terminal has shown the first of them.
TEST_F(PasteE2ETest, TypingStopsWhenTheTargetGoesAndTheNextWindowGetsNothing) {
    std::string password;
    for (int i = 0; i < 30000; ++i) {
        password += static_cast<char>('a' + i % 26);
    }
    auto next = klt::test::StartXterm(klt::test::WindowsOf(m_display));
    ASSERT_NE(next->Window(), 0u);
    Desktop::Activate(next->Window());
    ASSERT_TRUE(m_desktop.WaitUntilActive(next->Window()));
    StartWithTarget({"a.klt"}, "", password);
    m_display.Tap(XK_Insert, {XK_Alt_L});
    Choose("alt+p");
    ASSERT_EQ(m_target->Received(password.substr(0, 300)).substr(0, 300), password.substr(0, 300));
    m_target.reset(); // ends the terminal
    const Window message = m_desktop.WaitForWindow("Keyloft");
    ASSERT_NE(message, 0u);
    EXPECT_TRUE(m_desktop.WaitUntilActive(message));
    Desktop::Key("Return");
    EXPECT_TRUE(m_desktop.WaitUntilHidden(message));
    EXPECT_EQ(next->Received("x", 1000ms), "");
}

// The user goes on to another window as soon as the password is in: that window stays in front.
TEST_F(PasteE2ETest, AWindowActivatedRightAfterAPasteStaysActive) {
    auto other = klt::test::StartXterm(klt::test::WindowsOf(m_display));
    StartWithTarget({"a.klt"});
    m_display.Tap(XK_Insert, {XK_Alt_L});
    Choose("alt+p");
    ASSERT_EQ(m_target->Received(kPassword), kPassword);
    Desktop::Activate(other->Window());
    EXPECT_FALSE(klt::test::WaitUntil([&] { return m_desktop.ActiveWindow() != other->Window(); }, 1s));
}

// Another entry added above it moves the entry pasted last down a row; the dialog follows it there.
TEST_F(PasteE2ETest, AfterAnAddTheDialogStartsOnTheEntryPastedLast) {
    StartWithTarget({"a.klt"});
    m_display.Tap(XK_Insert, {XK_Alt_L});
    Choose("alt+p");
    ASSERT_EQ(m_target->Received(kPassword), kPassword);
    Desktop::Activate(m_frame);
    Desktop::Key("Insert");
    ASSERT_NE(m_desktop.WaitForActiveWindow("New entry"), 0u);
    Desktop::Type("Bank");
    Desktop::Key("Tab");
    Desktop::Key("Tab");
    Desktop::Type("other");
    Desktop::Key("Return");
    ASSERT_NE(m_desktop.WaitForActiveWindow("Confirm Password"), 0u);
    Desktop::Type("other");
    Desktop::Key("Return");
    ASSERT_TRUE(m_desktop.WaitUntilActive(m_frame));
    Desktop::Activate(m_target->Window());
    m_display.Tap(XK_Insert, {XK_Alt_L});
    Choose("alt+p");
    EXPECT_EQ(m_target->Received(kPassword + kPassword), kPassword + kPassword);
}

// Pressed alone in the hot-key field, a letter gets Alt: the letter still types everywhere.
TEST_F(PasteE2ETest, APlainLetterCannotBecomeTheHotKey) {
    StartWithTarget({"a.klt"});
    Desktop::Activate(m_frame);
    Desktop::Key("alt+v");
    Desktop::Key("o");
    ASSERT_NE(m_desktop.WaitForActiveWindow("Options"), 0u);
    for (const char* key : {"shift+Tab", "k", "Return"}) { // the hot-key field is the last tab stop
        Desktop::Key(key);
    }
    ASSERT_NE(WaitForSettingOtherThan("Settings/HotKeyVK", ""), "");
    Desktop::Activate(m_target->Window());
    Desktop::Type("ok");
    EXPECT_EQ(m_target->Received("ok"), "ok");
    m_display.Tap(XK_k, {XK_Alt_L});
    Choose("Escape");
}

// The hot key while New entry is open brings New entry up, and leaves no paste for after it.
TEST_F(PasteE2ETest, TheHotKeyDuringADialogOfOursIsNotKeptForLater) {
    StartWithTarget({"a.klt"});
    Desktop::Activate(m_frame);
    Desktop::Key("Insert");
    const Window newEntry = m_desktop.WaitForActiveWindow("New entry");
    ASSERT_NE(newEntry, 0u);
    Desktop::Activate(m_target->Window());
    m_display.Tap(XK_Insert, {XK_Alt_L});
    EXPECT_TRUE(m_desktop.WaitUntilActive(newEntry));
    Desktop::Key("Escape");
    ASSERT_TRUE(m_desktop.WaitUntilActive(m_frame));
    // A round through the program's events: a paste kept for later would have come up first.
    Desktop::Key("Insert");
    EXPECT_NE(m_desktop.WaitForActiveWindow("New entry"), 0u);
    EXPECT_EQ(m_desktop.ProgramWindows().size(), 2u);
}

// Alt+Insert held elsewhere; closing hides the window and empties the document, so Configure asks again.
TEST_F(PasteE2ETest, InTrayModeTheTrayPastesConfiguresAfterCloseAndExits) {
    klt::test::X11TestDisplay rival;
    ASSERT_TRUE(rival.GrabKey(XK_Insert, Mod1Mask));
    std::filesystem::create_directories(AutostartFolder());
    std::ofstream(AutostartFolder() / "Keyloft.desktop") << "[Desktop Entry]\n";
    StartWithTarget({"/s"}, "pw");
    const auto enterPassword = [this] {
        ASSERT_NE(m_desktop.WaitForActiveWindow("Enter the password for a.klt."), 0u);
        Desktop::Type("pw");
        Desktop::Key("Return");
    };
    ClickTrayIcon("1", "2");
    enterPassword();
    Choose("alt+p");
    EXPECT_EQ(m_target->Received(kPassword), kPassword);
    EXPECT_TRUE(m_desktop.IsIconic(m_frame));

    ChooseFromTrayMenu(33); // Configure, the second item
    ASSERT_EQ(m_desktop.WaitForActiveWindow("a.klt - Keyloft"), m_frame);
    Desktop::Key("alt+F4");
    ASSERT_TRUE(m_desktop.WaitUntilHidden(m_frame));
    EXPECT_FALSE(m_desktop.IsIconic(m_frame));
    ChooseFromTrayMenu(33);
    enterPassword();
    ASSERT_EQ(m_desktop.WaitForActiveWindow("a.klt - Keyloft"), m_frame);
    ChooseFromTrayMenu(-12); // Exit and remove, the last item
    EXPECT_EQ(m_processes.front()->WaitForExit(), 0);
}

// The window manager placed the window and the user moved it; shown again, it is not placed anew.
TEST_F(PasteE2ETest, AfterClosingToTheTrayAndAHotKeyPasteTheWindowComesBackWhereItWas) {
    std::filesystem::create_directories(AutostartFolder());
    std::ofstream(AutostartFolder() / "Keyloft.desktop") << "[Desktop Entry]\n";
    StartWithTarget({"a.klt"});
    const auto position = [this] {
        int x = 0;
        int y = 0;
        Window child = 0;
        XTranslateCoordinates(m_display.Handle(), m_frame, DefaultRootWindow(m_display.Handle()), 0, 0, &x,
                              &y, &child);
        return std::pair{x, y};
    };
    const std::pair moved{100, 150};
    QProcess::execute("xdotool", {"windowmove", QString::number(m_frame), "100", "150"});
    ASSERT_TRUE(klt::test::WaitUntil([&] { return position() == moved; }));
    m_desktop.Close(m_frame);
    ASSERT_TRUE(m_desktop.WaitUntilHidden(m_frame));
    Desktop::Activate(m_target->Window());
    ASSERT_TRUE(m_desktop.WaitUntilActive(m_target->Window()));
    m_display.Tap(XK_Insert, {XK_Alt_L});
    Choose("alt+u");
    EXPECT_EQ(m_target->Received("ann"), "ann");
    EXPECT_EQ(Start({"a.klt"}).WaitForExit(), 0);
    ASSERT_EQ(m_desktop.WaitForActiveWindow("a.klt - Keyloft"), m_frame);
    // The window manager may draw the way back from the icon first.
    EXPECT_TRUE(klt::test::WaitUntil([&] { return position() == moved; }))
        << position().first << "," << position().second;
}
