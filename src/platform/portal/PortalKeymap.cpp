#include "platform/portal/PortalKeymap.h"

#include "platform/xkb/Keymap.h"
#include "platform/xkb/Keysyms.h"

#include <algorithm>
#include <array>
#include <xkbcommon/xkbcommon.h>

namespace klt::portal {

namespace {

constexpr xkb_layout_index_t kLayout = 0;

// Caps Lock turns the key's first level into its second: a letter.
bool IsLetterKey(xkb_keymap* keymap, xkb_keycode_t key) {
    const xkb_mod_index_t lock = xkb_keymap_mod_get_index(keymap, XKB_MOD_NAME_CAPS);
    std::array<xkb_mod_mask_t, 16> masks{};
    const size_t count =
        xkb_keymap_key_get_mods_for_level(keymap, key, kLayout, 1, masks.data(), masks.size());
    return lock != XKB_MOD_INVALID &&
           std::find(masks.begin(), masks.begin() + static_cast<std::ptrdiff_t>(count), 1u << lock) !=
               masks.begin() + static_cast<std::ptrdiff_t>(count);
}

} // namespace

std::unique_ptr<PortalKeymap> PortalKeymap::FromText(const std::string& text) {
    const auto keymap = wayland::Keymap::FromText(text);
    return keymap != nullptr ? std::make_unique<PortalKeymap>(*keymap) : nullptr;
}

PortalKeymap::PortalKeymap(const wayland::Keymap& keymap) {
    xkb_keymap* handle = keymap.Handle();
    for (xkb_keycode_t key = xkb_keymap_min_keycode(handle); key <= xkb_keymap_max_keycode(handle); ++key) {
        ReadKey(keymap, key);
    }
}

// The first key that has a character decides it, even on a level out of reach: the portal would
// press that key all the same.
void PortalKeymap::ReadKey(const wayland::Keymap& keymap, unsigned key) {
    xkb_keymap* handle = keymap.Handle();
    const bool letter = IsLetterKey(handle, key);
    const xkb_level_index_t levels = xkb_keymap_num_levels_for_key(handle, key, kLayout);
    for (xkb_level_index_t level = 0; level < levels; ++level) {
        const auto shiftState = keymap.ShiftStateOfLevel(key, level);
        const xkb_keysym_t* syms = nullptr;
        const int count = xkb_keymap_key_get_syms_by_level(handle, key, kLayout, level, &syms);
        for (int i = 0; i < count; ++i) {
            const char32_t character = xkb::CharacterOfKeysym(syms[i]);
            if (character == 0) {
                continue;
            }
            std::optional<KeyScan> scan;
            if (shiftState) {
                scan = KeyScan{syms[i], *shiftState, letter && level <= 1};
            }
            m_characters.emplace(character, scan);
        }
    }
}

std::optional<KeyScan> PortalKeymap::Find(char32_t character) const {
    auto it = m_characters.find(character);
    return it == m_characters.end() ? std::nullopt : it->second;
}

} // namespace klt::portal
