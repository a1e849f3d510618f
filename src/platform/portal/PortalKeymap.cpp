#include "PortalKeymap.h"

#include "Keysyms.h"

#include <algorithm>
#include <array>
#include <bit>
#include <xkbcommon/xkbcommon.h>

namespace klt::portal {

namespace {

struct FreeContext {
    void operator()(xkb_context* context) const { xkb_context_unref(context); }
};
struct FreeKeymap {
    void operator()(xkb_keymap* keymap) const { xkb_keymap_unref(keymap); }
};
struct FreeState {
    void operator()(xkb_state* state) const { xkb_state_unref(state); }
};

constexpr xkb_layout_index_t kLayout = 0;

// The modifier that the level-3 shift key sets: the portal presses the first key with that keysym.
xkb_mod_mask_t Level3Mask(xkb_keymap* keymap) {
    for (xkb_keycode_t key = xkb_keymap_min_keycode(keymap); key <= xkb_keymap_max_keycode(keymap); ++key) {
        const xkb_keysym_t* syms = nullptr;
        const int count = xkb_keymap_key_get_syms_by_level(keymap, key, kLayout, 0, &syms);
        if (count == 1 && syms[0] == XKB_KEY_ISO_Level3_Shift) {
            std::unique_ptr<xkb_state, FreeState> state(xkb_state_new(keymap));
            xkb_state_update_key(state.get(), key, XKB_KEY_DOWN);
            return xkb_state_serialize_mods(state.get(), XKB_STATE_MODS_DEPRESSED);
        }
    }
    return 0;
}

struct LevelMasks {
    LevelMasks(xkb_keymap* keymap, xkb_keycode_t key, xkb_level_index_t level)
        : count(xkb_keymap_key_get_mods_for_level(keymap, key, kLayout, level, masks.data(), masks.size())) {}
    bool Contains(xkb_mod_mask_t mask) const {
        return std::find(masks.begin(), masks.begin() + count, mask) != masks.begin() + count;
    }
    std::array<xkb_mod_mask_t, 16> masks{};
    std::size_t count;
};

// The fewest of Shift and AltGr that select the level; nullopt when it needs other modifiers.
std::optional<unsigned> ShiftStateOfLevel(xkb_keymap* keymap, xkb_keycode_t key, xkb_level_index_t level,
                                          const PortalKeymap::Masks& modifiers) {
    if (level == 0) {
        return 0u;
    }
    const LevelMasks levelMasks(keymap, key, level);
    std::optional<unsigned> best;
    for (std::size_t i = 0; i < levelMasks.count; ++i) {
        const xkb_mod_mask_t mask = levelMasks.masks[i];
        if (mask == 0 || (mask & ~(modifiers.shift | modifiers.level3)) != 0) {
            continue;
        }
        const unsigned state =
            ((mask & modifiers.shift) ? kShiftBit : 0) | ((mask & modifiers.level3) ? kCtrlBit | kAltBit : 0);
        if (!best || std::popcount(state) < std::popcount(*best)) {
            best = state;
        }
    }
    return best;
}

} // namespace

std::unique_ptr<PortalKeymap> PortalKeymap::FromText(const std::string& text) {
    std::unique_ptr<xkb_context, FreeContext> context(xkb_context_new(XKB_CONTEXT_NO_FLAGS));
    if (!context) {
        return nullptr;
    }
    std::unique_ptr<xkb_keymap, FreeKeymap> keymap(xkb_keymap_new_from_buffer(
        context.get(), text.data(), text.size(), XKB_KEYMAP_FORMAT_TEXT_V1, XKB_KEYMAP_COMPILE_NO_FLAGS));
    if (!keymap) {
        return nullptr;
    }
    return std::unique_ptr<PortalKeymap>(new PortalKeymap(keymap.get()));
}

PortalKeymap::PortalKeymap(xkb_keymap* keymap) {
    const Masks masks{1u << xkb_keymap_mod_get_index(keymap, XKB_MOD_NAME_SHIFT),
                      1u << xkb_keymap_mod_get_index(keymap, XKB_MOD_NAME_CAPS), Level3Mask(keymap)};
    for (xkb_keycode_t key = xkb_keymap_min_keycode(keymap); key <= xkb_keymap_max_keycode(keymap); ++key) {
        ReadKey(keymap, key, masks);
    }
}

// The first key that has a character decides it, even on a level out of reach: the portal would
// press that key all the same.
void PortalKeymap::ReadKey(xkb_keymap* keymap, unsigned key, const Masks& masks) {
    const bool letter = LevelMasks(keymap, key, 1).Contains(masks.lock);
    const xkb_level_index_t levels = xkb_keymap_num_levels_for_key(keymap, key, kLayout);
    for (xkb_level_index_t level = 0; level < levels; ++level) {
        const auto shiftState = ShiftStateOfLevel(keymap, key, level, masks);
        const xkb_keysym_t* syms = nullptr;
        const int count = xkb_keymap_key_get_syms_by_level(keymap, key, kLayout, level, &syms);
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
