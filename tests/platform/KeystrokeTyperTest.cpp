#include "platform/KeystrokeTyper.h"

#include "support/FakeKeyboard.h"

#include <QCoreApplication>
#include <QTimer>
#include <gtest/gtest.h>

using klt::FakeKeyboard;
using klt::KeystrokeTyper;
using klt::Modifier;
using Events = std::vector<std::string>;

namespace {

struct KeystrokeTyperTest : testing::Test {
    FakeKeyboard keyboard;
    KeystrokeTyper typer{keyboard};
};

TEST_F(KeystrokeTyperTest, TypesOnePressAndReleasePerCharacterAndNothingAfterTheLast) {
    EXPECT_EQ(typer.TypeText("ab 1"), 1);
    EXPECT_EQ(keyboard.events, (Events{"+k38", "-k38", "+k39", "-k39", "+k65", "-k65", "+k11", "-k11"}));

    keyboard.events.clear();
    EXPECT_EQ(typer.TypeText(""), 1);
    EXPECT_TRUE(keyboard.events.empty());
}

TEST_F(KeystrokeTyperTest, WrapsTheKeyInTheModifiersAndReleasesThemInPressOrder) {
    keyboard.layout[U'x'] = {50, klt::kShiftBit | klt::kAltBit, false};
    keyboard.layout[U'y'] = {51, klt::kCtrlBit, false};
    EXPECT_EQ(typer.TypeText("A!xy"), 1);
    EXPECT_EQ(keyboard.events, (Events{"+Shift", "+k38", "-k38", "-Shift",                 //
                                       "+Shift", "+k11", "-k11", "-Shift",                 //
                                       "+Shift", "+Alt", "+k50", "-k50", "-Shift", "-Alt", //
                                       "+Ctrl", "+k51", "-k51", "-Ctrl"}));
}

TEST_F(KeystrokeTyperTest, CtrlAltCharactersAreTypedWithAltGr) {
    keyboard.layout[U'Q'] = {30, klt::kShiftBit | klt::kCtrlBit | klt::kAltBit, false};
    EXPECT_EQ(typer.TypeText("@Q"), 1);
    EXPECT_EQ(keyboard.events, (Events{"+AltGr", "+k24", "-k24", "-AltGr", //
                                       "+Shift", "+AltGr", "+k30", "-k30", "-Shift", "-AltGr"}));
}

TEST_F(KeystrokeTyperTest, CapsLockTurnsTheShiftOfLettersRound) {
    keyboard.capsLock = true;
    keyboard.layout[U'ä'] = {47, klt::kCtrlBit | klt::kAltBit, true}; // a letter on AltGr is left alone
    EXPECT_EQ(typer.TypeText("Abc1!ä"), 1);
    EXPECT_EQ(keyboard.events, (Events{"+k38",   "-k38",                   // A without Shift
                                       "+Shift", "+k39", "-k39", "-Shift", // b with Shift
                                       "+Shift", "+k40", "-k40", "-Shift", // c with Shift
                                       "+k11",   "-k11",                   // digits unchanged
                                       "+Shift", "+k11", "-k11", "-Shift", //
                                       "+AltGr", "+k47", "-k47", "-AltGr"}));
}

TEST_F(KeystrokeTyperTest, DecodesTheTextAndSkipsWhatTheKeyboardCannotType) {
    // UTF-8 "a中b": no key gives the middle character.
    EXPECT_EQ(typer.TypeText("a\xE4\xB8\xAD\x62"), 1);
    EXPECT_EQ(keyboard.announced, U"a中b");
    EXPECT_EQ(keyboard.events, (Events{"+k38", "-k38", "+k39", "-k39"}));
    EXPECT_EQ(typer.UntypedCount(), 1);
    EXPECT_EQ(keyboard.textsEnded, 1);

    keyboard.events.clear();
    EXPECT_EQ(typer.TypeText("\x80"), 1); // not UTF-8: Windows-1252, the euro sign
    EXPECT_EQ(keyboard.events, (Events{"+AltGr", "+k26", "-k26", "-AltGr"}));
    EXPECT_EQ(typer.UntypedCount(), 0);

    keyboard.events.clear();
    EXPECT_EQ(typer.TypeText(std::string_view("a\0b", 3)), 1); // the text ends at a NUL
    EXPECT_EQ(keyboard.announced, U"a");
}

TEST_F(KeystrokeTyperTest, WaitsForHeldModifiersWhileEventsAreHandled) {
    keyboard.held = {Modifier::shift};
    Events typedWhenReleased{"not released"};
    int eventsHandled = 0;
    QTimer ticker;
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        if (++eventsHandled == 5) {
            typedWhenReleased = keyboard.events;
            keyboard.held.clear();
        }
    });
    ticker.start(0);

    EXPECT_EQ(typer.TypeText("a"), 1);
    EXPECT_GE(eventsHandled, 5);
    EXPECT_TRUE(typedWhenReleased.empty());
    EXPECT_EQ(keyboard.events, (Events{"+k38", "-k38"}));
    // Each round asks Alt, then Shift, and stops there while Shift is down; the last asks all three.
    ASSERT_GE(keyboard.modifierQueries.size(), 5u);
    EXPECT_EQ(std::vector(keyboard.modifierQueries.begin(), keyboard.modifierQueries.begin() + 2),
              (std::vector{Modifier::alt, Modifier::shift}));
    EXPECT_EQ(std::vector(keyboard.modifierQueries.end() - 3, keyboard.modifierQueries.end()),
              (std::vector{Modifier::alt, Modifier::shift, Modifier::ctrl}));
}

TEST_F(KeystrokeTyperTest, HandlesWaitingEventsBeforeTheFirstKey) {
    Events typedWhenHandled{"not handled"};
    QTimer::singleShot(0, [&] { typedWhenHandled = keyboard.events; });
    EXPECT_EQ(typer.TypeText("a"), 1);
    EXPECT_TRUE(typedWhenHandled.empty());
}

// The quit request reaches the main loop, which ends with its code; nothing is typed.
TEST_F(KeystrokeTyperTest, QuitDuringTheWaitTypesNothingAndEndsTheMainLoop) {
    for (const bool posted : {false, true}) {
        SCOPED_TRACE(posted ? "QEvent::Quit posted" : "QCoreApplication::exit");
        keyboard.held = {Modifier::ctrl};
        keyboard.onModifierQuery = [&, asked = 0]() mutable {
            if (++asked != 10) {
                return;
            }
            if (posted) {
                QCoreApplication::postEvent(QCoreApplication::instance(), new QEvent(QEvent::Quit));
            } else {
                QCoreApplication::exit(7);
            }
        };
        int result = -1;
        QTimer::singleShot(0, [&] { result = typer.TypeText("abc"); });
        QTimer watchdog;
        watchdog.callOnTimeout([] { QCoreApplication::exit(99); });
        watchdog.start(10000);

        EXPECT_EQ(QCoreApplication::exec(), posted ? 0 : 7);
        EXPECT_EQ(result, 0);
        EXPECT_TRUE(keyboard.events.empty());
    }
}

TEST_F(KeystrokeTyperTest, QuitAlreadyRequestedTypesNothing) {
    int result = -1;
    QTimer::singleShot(0, [&] {
        QCoreApplication::exit(3);
        result = typer.TypeText("abc");
    });
    EXPECT_EQ(QCoreApplication::exec(), 3);
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(keyboard.events.empty());
}

} // namespace
