// Pasting on a Wayland desktop: the real program in tray mode in a headless sway session, its windows
// on XWayland, the hot key taken through sway's own key binding, and the text typed into a native
// terminal (foot), a Qt line edit on the wayland platform and an xterm on XWayland, each recording
// what it gets. The user's keyboard is a virtual keyboard with a German layout that stays in the seat.

#include "e2e/ProgramTest.h"
#include "store/PasswordFileContent.h"
#include "support/TypingTargets.h"
#include "wayland/SwayWindows.h"
#include "wayland/UserKeyboard.h"

#include <QProcess>
#include <X11/Xlib.h>
#include <algorithm>
#include <linux/input-event-codes.h>

using namespace klt::e2e;
using namespace klt::wayland_test;

namespace {

// Latin-1, the euro sign (AltGr on the German layout), Cyrillic and an emoji, which no layout has.
const std::string kPassword = "Pä€Жx🙂";
const std::string kDialog = "Paste a password or username";

struct TargetCase {
    const char* name;
    std::unique_ptr<klt::test::TypingTarget> (*start)(UserKeyboard& keyboard);
};

void PrintTo(const TargetCase& target, std::ostream* out) {
    *out << target.name;
}

const TargetCase kTargets[] = {
    {"foot", [](UserKeyboard&) { return klt::test::StartFoot(WaitForSwayWindow); }},
    {"qt_on_wayland",
     [](UserKeyboard& keyboard) {
         return klt::test::StartQtLineEdit(
             WaitForSwayWindow, [&keyboard] { keyboard.Press({KEY_ENTER}); }, "wayland");
     }},
    {"xterm_on_xwayland", [](UserKeyboard&) { return klt::test::StartXterm(WaitForSwayWindow); }},
};

} // namespace

class WaylandPasteE2ETest : public ProgramTest, public ::testing::WithParamInterface<TargetCase> {
protected:
    // The "Paste to:" field's text: a click into it, Ctrl+A, and the selection read back.
    std::string PasteTo(Window dialog) {
        XWindowAttributes size{};
        XGetWindowAttributes(m_display.Handle(), dialog, &size);
        // The field's left part, in the dialog's units of 269 x 175.
        QProcess::execute("xdotool", {"mousemove", "--window", QString::number(dialog),
                                      QString::number(size.width * 20 / 269),
                                      QString::number(size.height * 23 / 175), "click", "1"});
        m_keyboard.Press({KEY_LEFTCTRL, KEY_A});
        QProcess xclip;
        std::string text;
        klt::test::WaitUntil([&] {
            xclip.start("xclip", {"-o", "-selection", "primary"});
            xclip.waitForFinished();
            text = xclip.readAllStandardOutput().toStdString();
            return !text.empty();
        });
        return text;
    }

    UserKeyboard m_keyboard{"de"};
    klt::test::X11TestDisplay m_display;
};

TEST_P(WaylandPasteE2ETest, HotKeyPastesTheExactTextAndTheUsersKeymapComesBack) {
    ASSERT_TRUE(m_keyboard.IsReady()) << "the session has no virtual keyboard";
    klt::PasswordFileContent content;
    content.entryList.push_back(std::make_unique<QMPassword>("Mail", "ann", kPassword, 0));
    content.SaveFile(File("a.klt"));
    WriteSetting("Settings/Startup File", File("a.klt"));
    WriteSetting("Settings/HotKeyEnable", "1");
    Start({"/s"});
    ASSERT_NE(WaitForSettingOtherThan("Settings/HWND", ""), "");

    const auto target = GetParam().start(m_keyboard);
    ASSERT_NE(target->Window(), 0u) << "the target did not come up";
    ASSERT_TRUE(FocusSwayWindow(target->Window()));
    const std::string userKeymap = m_keyboard.Keymaps().back();
    const size_t before = m_keyboard.Keymaps().size();

    m_keyboard.Press({KEY_LEFTALT, KEY_INSERT});
    const Window dialog = m_desktop.WaitForActiveWindow(kDialog);
    ASSERT_NE(dialog, 0u) << "no paste dialog came after Alt+Insert";
    EXPECT_EQ(PasteTo(dialog), target->Title());
    const size_t afterPaste = m_keyboard.Keymaps().size();
    m_keyboard.Press({KEY_LEFTALT, KEY_P});

    // Keyloft's own keymap lends a key to Ж, which the layout lacks, and goes again after the text:
    // only once the user's keymap is back has the target had every key, and may the user type on.
    const auto& keymaps = m_keyboard.Keymaps();
    const auto lentCame = [&] {
        return std::any_of(
            keymaps.begin() + static_cast<std::ptrdiff_t>(afterPaste), keymaps.end(),
            [](const std::string& keymap) { return keymap.find("Cyrillic_ZHE") != std::string::npos; });
    };
    EXPECT_TRUE(m_keyboard.WaitUntil([&] { return lentCame() && keymaps.back() == userKeymap; }, kBound))
        << keymaps.size() - before << " keymaps came after the hot key; Keyloft's own "
        << (lentCame() ? "came" : "never came") << "; the last one is "
        << (keymaps.back() == userKeymap ? "the user's" : "not the user's");
    EXPECT_EQ(target->Received(kPassword), kPassword);
}

// The key binding starts `keyloft --paste` with no Keyloft running: it pastes into the window that
// had the focus, which existed before it started.
TEST_F(WaylandPasteE2ETest, PasteWithNothingRunningPastesIntoAWindowOlderThanKeyloft) {
    klt::PasswordFileContent content;
    content.entryList.push_back(std::make_unique<QMPassword>("Mail", "ann", "ab1", 0));
    content.SaveFile(File("a.klt"));
    WriteSetting("Settings/Startup File", File("a.klt"));
    const auto target = klt::test::StartFoot(WaitForSwayWindow);
    ASSERT_NE(target->Window(), 0u) << "the target did not come up";
    ASSERT_TRUE(FocusSwayWindow(target->Window()));
    Start({"--paste"});
    const Window dialog = m_desktop.WaitForActiveWindow(kDialog);
    ASSERT_NE(dialog, 0u) << "no paste dialog came";
    EXPECT_EQ(PasteTo(dialog), target->Title());
    m_keyboard.Press({KEY_LEFTALT, KEY_P});
    EXPECT_EQ(target->Received("ab1"), "ab1");
}

// The target closes in the middle of a long password; the window that gets the focus gets none of it.
TEST_F(WaylandPasteE2ETest, TypingStopsWhenTheTargetClosesAndTheNextWindowGetsNothing) {
    ASSERT_TRUE(m_keyboard.IsReady()) << "the session has no virtual keyboard";
    klt::PasswordFileContent content;
    content.entryList.push_back(std::make_unique<QMPassword>("Mail", "ann", std::string(30000, 'a'), 0));
    content.SaveFile(File("a.klt"));
    WriteSetting("Settings/Startup File", File("a.klt"));
    Start({"/s"});
    ASSERT_NE(WaitForSettingOtherThan("Settings/HWND", ""), "");
    const auto next = klt::test::StartFoot(WaitForSwayWindow);
    auto target = klt::test::StartFoot(WaitForSwayWindow);
    ASSERT_TRUE(next->Window() != 0 && target->Window() != 0) << "the terminals did not come up";
    ASSERT_TRUE(FocusSwayWindow(target->Window()));
    m_keyboard.Press({KEY_LEFTALT, KEY_INSERT});
    ASSERT_NE(m_desktop.WaitForActiveWindow(kDialog), 0u) << "no paste dialog came after Alt+Insert";
    m_keyboard.Press({KEY_LEFTALT, KEY_P});
    ASSERT_EQ(target->Received(std::string(300, 'a')).substr(0, 300), std::string(300, 'a'));
    target.reset(); // ends the terminal
    ASSERT_NE(m_desktop.WaitForActiveWindow("Keyloft"), 0u) << "no stop message came";
    m_keyboard.Press({KEY_ENTER});
    EXPECT_EQ(next->Received("a", 1000ms), "");
}

INSTANTIATE_TEST_SUITE_P(Targets, WaylandPasteE2ETest, ::testing::ValuesIn(kTargets),
                         [](const auto& info) { return std::string(info.param.name); });
