#include "platform/KeystrokeTyper.h"
#include "platform/Platform.h"
#include "store/TextCodec.h"
#include "support/TypingTargets.h"
#include "support/X11TestDisplay.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>
// Xlib after gtest and Qt: its macros (None, Bool) clash with their names.
#include <X11/keysym.h>

namespace klt::test {
namespace {

struct TypingCase {
    const char* layouts;
    int group;
    const char* target;
};

void PrintTo(const TypingCase& param, std::ostream* out) {
    *out << param.target << " on " << param.layouts << ", group " << param.group;
}

std::string PrintCase(const testing::TestParamInfo<TypingCase>& info) {
    std::string name = std::string(info.param.target) + "_" + info.param.layouts + "_group" +
                       std::to_string(info.param.group);
    std::replace(name.begin(), name.end(), ',', '_');
    return name;
}

// Printable ASCII, the Latin-1 letters, the euro sign, and letters and signs of other scripts that
// none of the layouts has; on fr and de some Latin-1 letters lie only behind dead keys.
std::string TextToType() {
    std::u32string text;
    for (char32_t c = 0x20; c <= 0x7E; ++c) {
        text += c;
    }
    for (char32_t c = 0xC0; c <= 0xFF; ++c) {
        if (c != 0xD7 && c != 0xF7) {
            text += c;
        }
    }
    text += U"€ΩωЖжŁł中";
    return EncodeUtf8(text);
}

class X11Typing : public testing::TestWithParam<TypingCase> {
protected:
    X11TestDisplay display;
};

TEST_P(X11Typing, EveryCharacterArrivesWithCapsLockOffAndOn) {
    const TypingCase& param = GetParam();
    ASSERT_TRUE(X11TestDisplay::SetLayout(param.layouts));
    display.LockGroup(param.group);
    auto platform = klt::OpenX11Platform();
    ASSERT_TRUE(platform);
    KeystrokeTyper typer(platform->Keyboard());

    std::unique_ptr<TypingTarget> target;
    const std::string kind = param.target;
    auto pressReturn = [&] { typer.TypeText("\r"); };
    if (kind == "qt") {
        target = StartQtLineEdit(WindowsOf(display), pressReturn);
    } else if (kind == "xterm") {
        target = StartXterm(WindowsOf(display));
    } else {
        target = StartGtkEntry(WindowsOf(display), pressReturn);
    }
    ASSERT_NE(target->Window(), 0u);
    ASSERT_TRUE(platform->Windows().SetForegroundWindow(target->Window()));

    const std::string text = TextToType();
    display.SetCapsLock(false);
    EXPECT_EQ(typer.TypeText(text), 1);
    display.SetCapsLock(true);
    EXPECT_EQ(typer.TypeText(text), 1);
    display.SetCapsLock(false);
    EXPECT_EQ(target->Received(text + text), text + text);
}

INSTANTIATE_TEST_SUITE_P(Layouts, X11Typing,
                         testing::Values(TypingCase{"us", 0, "qt"}, TypingCase{"us", 0, "xterm"},
                                         TypingCase{"us", 0, "gtk"}, TypingCase{"de", 0, "qt"},
                                         TypingCase{"de", 0, "xterm"}, TypingCase{"de", 0, "gtk"},
                                         TypingCase{"fr", 0, "qt"}, TypingCase{"fr", 0, "xterm"},
                                         TypingCase{"fr", 0, "gtk"}, TypingCase{"us,ru", 0, "qt"},
                                         TypingCase{"us,ru", 1, "qt"}, TypingCase{"us,ru", 1, "xterm"},
                                         TypingCase{"us,ru", 1, "gtk"}),
                         PrintCase);

} // namespace
} // namespace klt::test

namespace klt::test {
namespace {

TEST(X11Keyboard, ReportsHeldModifiersAndCapsLock) {
    X11TestDisplay display;
    ASSERT_TRUE(X11TestDisplay::SetLayout("de")); // right Alt is AltGr here
    auto platform = klt::OpenX11Platform();
    ASSERT_TRUE(platform);
    IKeyboard& keyboard = platform->Keyboard();
    const std::pair<unsigned long, Modifier> keys[] = {{XK_Shift_R, Modifier::shift},
                                                       {XK_Control_L, Modifier::ctrl},
                                                       {XK_Alt_L, Modifier::alt},
                                                       {XK_ISO_Level3_Shift, Modifier::alt}};
    for (const auto& [keysym, modifier] : keys) {
        SCOPED_TRACE(keysym);
        display.SetKey(keysym, true);
        EXPECT_TRUE(keyboard.IsModifierDown(modifier));
        EXPECT_EQ(keyboard.IsModifierDown(Modifier::shift), modifier == Modifier::shift);
        display.SetKey(keysym, false);
        EXPECT_FALSE(keyboard.IsModifierDown(modifier));
    }
    display.SetCapsLock(true);
    EXPECT_TRUE(keyboard.IsCapsLockOn());
    display.SetCapsLock(false);
    EXPECT_FALSE(keyboard.IsCapsLockOn());
}

// A key lent to a character the layout lacks goes back to having no symbols once the clients have had
// time to read it, and at the latest when the services end.
TEST(X11LentKeys, AreGivenBackAfterSettlingAndWhenTheServicesEnd) {
    X11TestDisplay display;
    ASSERT_TRUE(X11TestDisplay::SetLayout("us"));
    auto platform = klt::OpenX11Platform();
    ASSERT_TRUE(platform);
    const auto han = platform->Keyboard().LookUp(U'中');
    ASSERT_TRUE(han);
    EXPECT_EQ(han->shiftState, 0u);
    EXPECT_EQ(display.KeysymOf(han->key), 0x1000000u + 0x4E2D);
    // A letter goes with its small letter into the free second slot, on the AltGr levels.
    const auto capital = platform->Keyboard().LookUp(U'Ł');
    EXPECT_EQ(capital, (KeyScan{han->key, kShiftBit | kCtrlBit | kAltBit, false}));
    EXPECT_EQ(platform->Keyboard().LookUp(U'ł'), (KeyScan{han->key, kCtrlBit | kAltBit, false}));
    // The next one takes a key of its own, as a letter key.
    const auto letter = platform->Keyboard().LookUp(U'é');
    EXPECT_EQ(letter, (KeyScan{letter->key, 0, true}));
    EXPECT_NE(letter->key, han->key);

    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(WaitUntil([&] { return display.KeysymOf(han->key) == 0; }));
    EXPECT_GE(clock.elapsed(), 500); // not before the clients could have read it

    const auto euro = platform->Keyboard().LookUp(U'€');
    ASSERT_TRUE(euro);
    platform.reset();
    EXPECT_EQ(display.KeysymOf(euro->key), 0u);
}

} // namespace
} // namespace klt::test
