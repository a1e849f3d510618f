#include "platform/xkb/Keysyms.h"

#include <gtest/gtest.h>
#include <xkbcommon/xkbcommon-keysyms.h>

using namespace klt::xkb;

TEST(Keysyms, CharactersUseTheNamedKeysymsLayoutsUse) {
    EXPECT_EQ(KeysymOfCharacter(U'a'), static_cast<std::uint32_t>(XKB_KEY_a));
    EXPECT_EQ(KeysymOfCharacter(U'é'), static_cast<std::uint32_t>(XKB_KEY_eacute));
    EXPECT_EQ(KeysymOfCharacter(U'€'), static_cast<std::uint32_t>(XKB_KEY_EuroSign));
    EXPECT_EQ(KeysymOfCharacter(U'ж'), static_cast<std::uint32_t>(XKB_KEY_Cyrillic_zhe));
    EXPECT_EQ(KeysymOfCharacter(U'中'), 0x1000000u + 0x4E2D);
}

TEST(Keysyms, OnlyTheKeysymACharacterIsTypedWithCountsAsThatCharacter) {
    EXPECT_EQ(CharacterOfKeysym(XKB_KEY_Cyrillic_zhe), U'ж');
    EXPECT_EQ(CharacterOfKeysym(0x1000000 + 0x4E2D), U'中');
    EXPECT_EQ(CharacterOfKeysym(0x1000000 + U'ж'), U'ж'); // layouts may spell it either way
    EXPECT_EQ(CharacterOfKeysym(XKB_KEY_KP_1), 0u);       // the keypad's '1' is not the digit key
    EXPECT_EQ(CharacterOfKeysym(XKB_KEY_dead_circumflex), 0u);
    EXPECT_EQ(CharacterOfKeysym(XKB_KEY_Shift_L), 0u);
}

TEST(Keysyms, VirtualKeysOfTheHotKeyControl) {
    EXPECT_EQ(KeysymOfVirtualKey(0x2D), static_cast<std::uint32_t>(XKB_KEY_Insert));
    EXPECT_EQ(KeysymOfVirtualKey('K'), static_cast<std::uint32_t>(XKB_KEY_k)); // letters are the small keysym
    EXPECT_EQ(KeysymOfVirtualKey('7'), static_cast<std::uint32_t>(XKB_KEY_7));
    EXPECT_EQ(KeysymOfVirtualKey(0x60), static_cast<std::uint32_t>(XKB_KEY_KP_0));
    EXPECT_EQ(KeysymOfVirtualKey(0x7B), static_cast<std::uint32_t>(XKB_KEY_F12));
    EXPECT_EQ(KeysymOfVirtualKey(0x87), static_cast<std::uint32_t>(XKB_KEY_F24));
    EXPECT_EQ(KeysymOfVirtualKey(0xDE), static_cast<std::uint32_t>(XKB_KEY_apostrophe));
    EXPECT_EQ(KeysymOfVirtualKey(0), 0u);
    EXPECT_EQ(KeysymOfVirtualKey(0x07), 0u); // unassigned
    EXPECT_EQ(KeysymOfVirtualKey(0xFF), 0u);
}
