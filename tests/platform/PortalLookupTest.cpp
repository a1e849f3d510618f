#include "framework/WinKeys.h"
#include "platform/portal/PortalHotKey.h"
#include "platform/portal/PortalKeymap.h"
#include "platform/xkb/Keymap.h"

#include <gtest/gtest.h>
#include <memory>
#include <xkbcommon/xkbcommon-keysyms.h>

using namespace klt;
using namespace klt::portal;

namespace {

std::unique_ptr<PortalKeymap> KeymapOf(const char* layout) {
    return std::make_unique<PortalKeymap>(*wayland::Keymap::OfLayout(layout));
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
