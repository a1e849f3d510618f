#include "platform/Platform.h"
#include "support/X11TestDisplay.h"

#include <gtest/gtest.h>
// Xlib after gtest and Qt: its macros (None, Bool) clash with their names.
#include <X11/XKBlib.h>
#include <X11/keysym.h>

namespace klt::test {
namespace {

class X11HotKey : public testing::Test {
protected:
    void SetUp() override {
        platform = klt::OpenX11Platform();
        ASSERT_TRUE(platform);
        platform->HotKey().SetPressedCallback([this] { ++presses; });
    }

    // Runs the event loop until the count of presses reaches the number, within the bound.
    bool WaitForPresses(int count) {
        return WaitUntil([&] { return presses >= count; }) && presses == count;
    }

    // Whether the combination is taken: another client is refused it then. A successful probe
    // grab is given back at once.
    bool IsTaken(unsigned long keysym, unsigned mask) {
        X11TestDisplay other;
        return !other.GrabKey(keysym, mask);
    }

    X11TestDisplay display;
    std::unique_ptr<klt::Platform> platform;
    int presses = 0;
};

TEST_F(X11HotKey, FiresWithEveryCombinationOfCapsLockAndNumLock) {
    ASSERT_TRUE(platform->HotKey().Register(MOD_ALT, VK_INSERT));
    int expected = 0;
    for (const bool caps : {false, true}) {
        for (const bool num : {false, true}) {
            SCOPED_TRACE(std::string("Caps Lock ") + (caps ? "on" : "off") + ", Num Lock " +
                         (num ? "on" : "off"));
            display.SetCapsLock(caps);
            display.SetNumLock(num);
            display.Tap(XK_Insert, {XK_Control_L}); // another combination of the same key
            display.Tap(XK_Insert, {XK_Alt_L});
            EXPECT_TRUE(WaitForPresses(++expected));
        }
    }
}

TEST_F(X11HotKey, RefusesACombinationAnotherProgramHoldsAndKeepsNoPartOfIt) {
    ASSERT_TRUE(display.GrabKey(XK_Insert, Mod1Mask | ControlMask));
    EXPECT_FALSE(platform->HotKey().Register(MOD_ALT | MOD_CONTROL, VK_INSERT));
    // The lock variants that could be had were given back.
    EXPECT_FALSE(IsTaken(XK_Insert, Mod1Mask | ControlMask | LockMask));
    // A combination nobody holds can still be had.
    EXPECT_TRUE(platform->HotKey().Register(MOD_ALT | MOD_SHIFT, VK_INSERT));
    EXPECT_TRUE(IsTaken(XK_Insert, Mod1Mask | ShiftMask | LockMask));
}

TEST_F(X11HotKey, RefusesEmptyAndUnknownKeysAndGivesTheKeyBack) {
    EXPECT_FALSE(platform->HotKey().Register(MOD_ALT, 0));
    EXPECT_FALSE(platform->HotKey().Register(MOD_ALT, 0xE8)); // no keysym for this code
    ASSERT_TRUE(platform->HotKey().Register(MOD_CONTROL | MOD_SHIFT, 'K'));
    EXPECT_TRUE(IsTaken(XK_k, ControlMask | ShiftMask));
    // Registering again replaces the old combination.
    ASSERT_TRUE(platform->HotKey().Register(MOD_ALT, VK_INSERT));
    EXPECT_FALSE(IsTaken(XK_k, ControlMask | ShiftMask));
    EXPECT_TRUE(platform->HotKey().Unregister());
    EXPECT_FALSE(IsTaken(XK_Insert, Mod1Mask));
    EXPECT_TRUE(platform->HotKey().Unregister());
}

// On a German keyboard Z and Y change places: the grab has to follow the letter to its new key.
TEST_F(X11HotKey, FollowsItsKeyToANewLayout) {
    ASSERT_TRUE(X11TestDisplay::SetLayout("us"));
    ASSERT_TRUE(platform->HotKey().Register(MOD_CONTROL | MOD_ALT, 'Z'));
    ASSERT_TRUE(X11TestDisplay::SetLayout("de"));
    X11TestDisplay german; // a connection that knows the new layout from its start
    // The service notices the new layout when its events come in; press until the grab answers.
    EXPECT_TRUE(WaitUntil([&] {
        german.Tap(XK_z, {XK_Control_L, XK_Alt_L});
        return presses >= 1;
    }));
}

} // namespace
} // namespace klt::test
