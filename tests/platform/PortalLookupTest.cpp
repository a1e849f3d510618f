#include "PortalHotKey.h"
#include "PortalKeymap.h"
#include "WinKeys.h"

#include <gtest/gtest.h>
#include <memory>
#include <xkbcommon/xkbcommon.h>

using namespace klt;
using namespace klt::portal;

namespace {

// The keymap a compositor would hand out for the layout, in its text form.
std::unique_ptr<PortalKeymap> KeymapOf(const char* layout) {
    xkb_context* context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    const xkb_rule_names names{"evdev", "pc105", layout, "", ""};
    xkb_keymap* keymap = xkb_keymap_new_from_names(context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
    char* text = xkb_keymap_get_as_string(keymap, XKB_KEYMAP_FORMAT_TEXT_V1);
    auto result = PortalKeymap::FromText(text);
    std::free(text);
    xkb_keymap_unref(keymap);
    xkb_context_unref(context);
    return result;
}

constexpr unsigned kAltGr = kCtrlBit | kAltBit;

struct LookUpCase {
    const char* layout;
    char32_t character;
    std::optional<KeyScan> expected; // the key is the keysym sent to the portal
};

} // namespace

TEST(PortalKeymap, TheLevelsShiftAndAltGrReachAreFoundAndNothingElse) {
    const LookUpCase cases[] = {
        {"us", U'a', KeyScan{XKB_KEY_a, 0, true}},
        {"us", U'A', KeyScan{XKB_KEY_A, kShiftBit, true}},
        {"us", U'!', KeyScan{XKB_KEY_exclam, kShiftBit, false}},
        {"us", U' ', KeyScan{XKB_KEY_space, 0, false}},
        {"us", U'€', KeyScan{XKB_KEY_EuroSign, 0, false}}, // the evdev keymap's currency key
        {"us", U'ä', std::nullopt},
        {"de", U'ü', KeyScan{XKB_KEY_udiaeresis, 0, true}},
        {"de", U'Ü', KeyScan{XKB_KEY_Udiaeresis, kShiftBit, true}},
        {"de", U'€', KeyScan{XKB_KEY_EuroSign, kAltGr, false}},
        {"de", U'@', KeyScan{XKB_KEY_at, kAltGr, false}},
        {"de", U'^', std::nullopt}, // only a dead key
        {"de", U'ж', std::nullopt},
        {"ru", U'ж', KeyScan{XKB_KEY_Cyrillic_zhe, 0, true}},
        {"ru", U'Ж', KeyScan{XKB_KEY_Cyrillic_ZHE, kShiftBit, true}},
    };
    for (const auto& c : cases) {
        const auto keymap = KeymapOf(c.layout);
        ASSERT_TRUE(keymap) << c.layout;
        const auto found = keymap->Find(c.character);
        EXPECT_EQ(found.has_value(), c.expected.has_value()) << c.layout << " U+" << std::hex << +c.character;
        if (found && c.expected) {
            EXPECT_EQ(*found, *c.expected) << c.layout << " U+" << std::hex << +c.character;
        }
    }
    EXPECT_FALSE(PortalKeymap::FromText("not a keymap"));
}

TEST(PortalHotKey, CombinationsBecomeTheTriggersThePortalParses) {
    const struct {
        unsigned modifiers;
        unsigned virtualKey;
        const char* trigger;
    } cases[] = {
        {MOD_ALT, VK_INSERT, "ALT+Insert"},
        {MOD_SHIFT | MOD_ALT | MOD_CONTROL, 'V', "CTRL+ALT+SHIFT+v"},
        {0, 0x7B, "F12"},
        {MOD_CONTROL, 0x60, "CTRL+KP_0"},
        {MOD_ALT, 0x07, ""}, // a code with no key
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TriggerOf(c.modifiers, c.virtualKey), c.trigger) << c.trigger;
    }
}
