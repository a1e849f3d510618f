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
#include <atomic>
#include <iterator>
#include <linux/input-event-codes.h>
#include <random>
#include <thread>
#include <vector>

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

    // Keyloft in the tray, the hot key on, with one entry of the given password; false when it did
    // not come up.
    bool StartInTrayWith(const std::string& password) {
        klt::PasswordFileContent content;
        content.entryList.push_back(std::make_unique<QMPassword>("Mail", "ann", password, 0));
        content.SaveFile(File("a.klt"));
        WriteSetting("Settings/Startup File", File("a.klt"));
        WriteSetting("Settings/HotKeyEnable", "1");
        Start({"/s"});
        return !WaitForSettingOtherThan("Settings/HWND", "").empty();
    }

    // Waits until Keyloft's own keymap, with a key lent to the given keysym, came after the first
    // `since` keymaps and the user's keymap is back: only then has the target had every key.
    void WaitForLentKeymapAndBack(size_t since, const std::string& keysym, const std::string& userKeymap) {
        const auto& keymaps = m_keyboard.Keymaps();
        const auto lentCame = [&] {
            return std::any_of(
                keymaps.begin() + static_cast<std::ptrdiff_t>(since), keymaps.end(),
                [&](const std::string& keymap) { return keymap.find(keysym) != std::string::npos; });
        };
        EXPECT_TRUE(m_keyboard.WaitUntil([&] { return lentCame() && keymaps.back() == userKeymap; }, kBound))
            << keymaps.size() - since << " keymaps came after the paste began; Keyloft's own "
            << (lentCame() ? "came" : "never came") << "; the last one is "
            << (keymaps.back() == userKeymap ? "the user's" : "not the user's");
    }

    UserKeyboard m_keyboard{"de"};
    klt::test::X11TestDisplay m_display;
};

TEST_P(WaylandPasteE2ETest, HotKeyPastesTheExactTextAndTheUsersKeymapComesBack) {
    ASSERT_TRUE(m_keyboard.IsReady()) << "the session has no virtual keyboard";
    ASSERT_TRUE(StartInTrayWith(kPassword));

    const auto target = GetParam().start(m_keyboard);
    ASSERT_NE(target->Window(), 0u) << "the target did not come up";
    ASSERT_TRUE(FocusSwayWindow(target->Window()));
    const std::string userKeymap = m_keyboard.Keymaps().back();

    m_keyboard.Press({KEY_LEFTALT, KEY_INSERT});
    const Window dialog = m_desktop.WaitForActiveWindow(kDialog);
    ASSERT_NE(dialog, 0u) << "no paste dialog came after Alt+Insert";
    EXPECT_EQ(PasteTo(dialog), target->Title());
    const size_t afterPaste = m_keyboard.Keymaps().size();
    m_keyboard.Press({KEY_LEFTALT, KEY_P});
    // Keyloft's own keymap lends a key to Ж, which the layout lacks, and goes again after the text.
    WaitForLentKeymapAndBack(afterPaste, "Cyrillic_ZHE", userKeymap);
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
    ASSERT_TRUE(StartInTrayWith(std::string(30000, 'a')));
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

// A long password into a GTK entry, the slowest reader among the targets, while both cores are busy
// elsewhere (four threads of this test spin): the keys come no faster than the entry takes them in, and the
// compositor, which disconnects a client that falls too far behind, keeps it. Three pastes in a row.
TEST_F(WaylandPasteE2ETest, LongPasswordReachesAGtkEntryWhileTheCoresAreBusy) {
    ASSERT_TRUE(m_keyboard.IsReady()) << "the session has no virtual keyboard";
    std::mt19937 random(20261210);
    std::uniform_int_distribution<int> printable(0x20, 0x7E);
    std::string password;
    std::generate_n(std::back_inserter(password), 1999, [&] { return static_cast<char>(printable(random)); });
    password += "Ж"; // lent, so that the user's keymap coming back marks the end of the paste
    ASSERT_TRUE(StartInTrayWith(password));
    const std::string userKeymap = m_keyboard.Keymaps().back();

    std::atomic<bool> busy = true;
    std::vector<std::jthread> load;
    for (int core = 0; core < 4; ++core) {
        load.emplace_back([&busy] {
            while (busy.load(std::memory_order_relaxed)) {
            }
        });
    }
    for (int paste = 1; paste <= 3; ++paste) {
        const auto target = klt::test::StartGtkEntry(
            WaitForSwayWindow, [this] { m_keyboard.Press({KEY_ENTER}); }, "wayland");
        ASSERT_NE(target->Window(), 0u) << "the entry did not come up";
        ASSERT_TRUE(FocusSwayWindow(target->Window()));
        m_keyboard.Press({KEY_LEFTALT, KEY_INSERT});
        ASSERT_NE(m_desktop.WaitForActiveWindow(kDialog), 0u) << "no paste dialog came after Alt+Insert";
        const size_t before = m_keyboard.Keymaps().size();
        m_keyboard.Press({KEY_LEFTALT, KEY_P});
        WaitForLentKeymapAndBack(before, "Cyrillic_ZHE", userKeymap);
        const std::string received = target->Received(password);
        EXPECT_TRUE(received == password)
            << "paste " << paste << ": " << received.size() << " of " << password.size()
            << " bytes, the first wrong at "
            << std::mismatch(received.begin(), received.end(), password.begin(), password.end()).first -
                   received.begin();
    }
    busy = false;
}

INSTANTIATE_TEST_SUITE_P(Targets, WaylandPasteE2ETest, ::testing::ValuesIn(kTargets),
                         [](const auto& info) { return std::string(info.param.name); });
