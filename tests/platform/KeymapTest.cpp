#include "platform/xkb/Keymap.h"

#include "platform/xkb/KeymapRules.h"

#include <gtest/gtest.h>

using klt::KeyScan;
using klt::Modifier;
using klt::xkb::Keymap;

namespace {

TEST(Keymap, FindsCharactersWithTheFewestModifiersInTheFirstLayout) {
    const struct {
        const char* layout;
        char32_t character;
        KeyScan expected;
    } cases[] = {
        {"us", U'a', {38, 0, false}},                            // AC01
        {"us", U'A', {38, klt::kShiftBit, false}},               //
        {"us", U'!', {10, klt::kShiftBit, false}},               // AE01
        {"de", U'z', {29, 0, false}},                            // AD06 on a German keyboard
        {"de", U'@', {24, klt::kCtrlBit | klt::kAltBit, false}}, // AltGr+q
        {"de", U'€', {26, klt::kCtrlBit | klt::kAltBit, false}}, // AltGr+e
        {"de,ru", U'ж', {0, 0, false}},                          // only in the second layout
    };
    for (const auto& c : cases) {
        const auto keymap = Keymap::OfLayout(c.layout);
        ASSERT_NE(keymap, nullptr) << c.layout;
        const auto scan = keymap->Find(c.character);
        if (c.expected.key == 0) {
            EXPECT_FALSE(scan.has_value()) << c.layout;
        } else {
            EXPECT_EQ(scan, c.expected)
                << c.layout << " U+" << std::hex << static_cast<unsigned>(c.character);
        }
    }
    const auto de = Keymap::OfLayout("de");
    EXPECT_NE(de->ModifierMask(Modifier::shift), 0u);
    EXPECT_NE(de->ModifierMask(Modifier::altGr), 0u);
    EXPECT_NE(de->ModifierMask(Modifier::altGr), de->ModifierMask(Modifier::alt));
}

TEST(Keymap, LendsFreeKeysToWhatTheLayoutLacksAndLeavesTheRestAsItWas) {
    const auto us = Keymap::OfLayout("us");
    const std::u32string text = U"pä€жZ😀ä";
    std::size_t typeable = 0;
    const auto lent = Keymap::FromText(us->WithLentKeys(text, typeable));
    ASSERT_NE(lent, nullptr);
    EXPECT_EQ(typeable, text.size());
    for (char32_t character : text) {
        const auto scan = lent->Find(character);
        ASSERT_TRUE(scan.has_value()) << std::hex << static_cast<unsigned>(character);
        EXPECT_EQ(scan->shiftState & ~klt::kShiftBit, 0u); // one slot per key while keys last
    }
    EXPECT_EQ(lent->Find(U'Ä')->key, lent->Find(U'ä')->key); // a letter carries both its forms
    EXPECT_EQ(lent->Find(U'p'), us->Find(U'p'));
    EXPECT_EQ(lent->Find(U'Z'), us->Find(U'Z'));

    // Nothing lacking: the keymap stays exactly the user's.
    EXPECT_EQ(us->WithLentKeys(U"plain", typeable), us->Text());
    EXPECT_EQ(typeable, 5u);
}

TEST(Keymap, WhenKeysRunShortTheySecondSlotThenTheTextStopsWhereTheyEnd) {
    const auto us = Keymap::OfLayout("us");
    std::u32string many;
    for (char32_t c = 0x4E00; c < 0x4E00 + 600; ++c) { // more characters than two slots on every free key
        many += c;
    }
    std::size_t typeable = 0;
    const auto lent = Keymap::FromText(us->WithLentKeys(many, typeable));
    ASSERT_NE(lent, nullptr);
    ASSERT_GT(typeable, 0u);
    ASSERT_LT(typeable, many.size());
    for (std::size_t i = 0; i < typeable; ++i) {
        ASSERT_TRUE(lent->Find(many[i]).has_value()) << i;
    }
    EXPECT_FALSE(lent->Find(many[typeable]).has_value());
    // The second character on a key lies on the level-3 levels.
    EXPECT_EQ(lent->Find(many[1])->shiftState, klt::kCtrlBit | klt::kAltBit);
}

} // namespace

namespace {

TEST(KeymapRules, ShiftStatesLettersAndTwoSlotsAreReadAlikeOnEveryRoute) {
    constexpr unsigned kShift = 1, kLock = 2, kLevel3 = 0x80, kMod2 = 0x10;
    const unsigned kAltGr = klt::kCtrlBit | klt::kAltBit;
    const struct {
        std::vector<unsigned> masks;
        std::optional<unsigned> state;
    } cases[] = {
        {{0}, 0u},
        {{kShift, kShift | kLevel3}, klt::kShiftBit},
        {{kShift | kLevel3, kLevel3}, kAltGr},
        {{kShift | kLevel3}, klt::kShiftBit | kAltGr},
        {{kMod2, kShift | kMod2}, std::nullopt},
        {{}, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(klt::xkb::ShiftStateOf(c.masks, kShift, kLevel3), c.state) << c.masks.size();
    }
    EXPECT_TRUE(klt::xkb::IsLetterKey(std::vector<unsigned>{kShift, kLock}, kLock));
    EXPECT_FALSE(klt::xkb::IsLetterKey(std::vector<unsigned>{kShift, kShift | kLock}, kLock));
    EXPECT_FALSE(klt::xkb::IsLetterKey(std::vector<unsigned>{0}, 0));

    std::unordered_map<char32_t, KeyScan> characters;
    klt::xkb::KeepFewestModifiers(characters, U'@', {10, kAltGr, false});
    klt::xkb::KeepFewestModifiers(characters, U'@', {11, klt::kShiftBit, false});
    klt::xkb::KeepFewestModifiers(characters, U'@', {12, klt::kShiftBit, false});
    EXPECT_EQ(characters.at(U'@'), (KeyScan{11, klt::kShiftBit, false}));

    EXPECT_TRUE(klt::xkb::CanLendTwoSlots(kLevel3, true));
    EXPECT_FALSE(klt::xkb::CanLendTwoSlots(0, true));
    EXPECT_FALSE(klt::xkb::CanLendTwoSlots(kLevel3, false));
}

} // namespace
