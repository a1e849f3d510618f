// The lock keys' states on a real X display, toggled the way a user's key presses toggle them.

#include "platform/LockKeys.h"

#include "support/WaitUntil.h"

#include <QGuiApplication>
#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

namespace {

constexpr std::uint16_t kCapsLock = 0x14;
constexpr std::uint16_t kNumLock = 0x90;

void Press(const char* keysym) {
    ASSERT_EQ(std::system((std::string("xdotool key ") + keysym).c_str()), 0) << keysym;
}

} // namespace

TEST(LockKeys, FollowTheKeyboardsIndicators) {
    for (const auto& [vk, keysym] : {std::pair{kCapsLock, "Caps_Lock"}, std::pair{kNumLock, "Num_Lock"}}) {
        const bool bBefore = klt::IsLockKeyOn(vk);
        Press(keysym);
        EXPECT_TRUE(klt::test::WaitUntil([vk = vk, bBefore] { return klt::IsLockKeyOn(vk) != bBefore; }))
            << keysym;
        Press(keysym);
        EXPECT_TRUE(klt::test::WaitUntil([vk = vk, bBefore] { return klt::IsLockKeyOn(vk) == bBefore; }))
            << keysym;
    }
    EXPECT_FALSE(klt::IsLockKeyOn(0x10)); // Shift has no indicator
}

int main(int argc, char** argv) {
    // On the X display the test runs on, not offscreen.
    QGuiApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
