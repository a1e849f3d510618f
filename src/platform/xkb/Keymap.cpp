#include "platform/xkb/Keymap.h"

#include "platform/xkb/Keysyms.h"

#include <algorithm>
#include <bit>
#include <set>
#include <xkbcommon/xkbcommon.h>

namespace klt::wayland {

namespace {

// X11 clients on the compositor know keycodes up to 255 only.
constexpr xkb_keycode_t kHighestKey = 255;

xkb_context* Context() {
    static xkb_context* const context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    return context;
}

// The first key whose first level in the first layout is the keysym; 0 when none is.
xkb_keycode_t KeyOfKeysym(xkb_keymap* keymap, xkb_keysym_t wanted) {
    for (xkb_keycode_t key = xkb_keymap_min_keycode(keymap); key <= xkb_keymap_max_keycode(keymap); ++key) {
        const xkb_keysym_t* symbols = nullptr;
        if (xkb_keymap_key_get_syms_by_level(keymap, key, 0, 0, &symbols) == 1 && symbols[0] == wanted) {
            return key;
        }
    }
    return 0;
}

std::string KeysymName(std::uint32_t keysym) {
    char name[64];
    xkb_keysym_get_name(keysym, name, sizeof name);
    return name;
}

} // namespace

std::unique_ptr<Keymap> Keymap::FromText(std::string_view text) {
    // xkbcommon wants the terminating NUL of the shared text left out.
    while (!text.empty() && text.back() == '\0') {
        text.remove_suffix(1);
    }
    xkb_keymap* keymap =
        Context() == nullptr
            ? nullptr
            : xkb_keymap_new_from_buffer(Context(), text.data(), text.size(), XKB_KEYMAP_FORMAT_TEXT_V1,
                                         XKB_KEYMAP_COMPILE_NO_FLAGS);
    return keymap != nullptr ? std::unique_ptr<Keymap>(new Keymap(keymap)) : nullptr;
}

std::unique_ptr<Keymap> Keymap::OfLayout(const char* layout) {
    const xkb_rule_names names{nullptr, nullptr, layout, nullptr, nullptr};
    xkb_keymap* keymap = Context() == nullptr
                             ? nullptr
                             : xkb_keymap_new_from_names(Context(), &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
    return keymap != nullptr ? std::unique_ptr<Keymap>(new Keymap(keymap)) : nullptr;
}

Keymap::Keymap(xkb_keymap* keymap) : m_keymap(keymap) {
    char* text = xkb_keymap_get_as_string(keymap, XKB_KEYMAP_FORMAT_TEXT_V1);
    m_text = text != nullptr ? text : "";
    free(text); // NOLINT: xkbcommon hands out malloc'd text
    ReadModifiers();
    ReadKeys();
}

Keymap::~Keymap() {
    xkb_keymap_unref(m_keymap);
}

// A modifier's bits are those its key sets when pressed, whichever real modifier the keymap maps it to.
void Keymap::ReadModifiers() {
    static constexpr std::array<xkb_keysym_t, 4> kKeys{XKB_KEY_Shift_L, XKB_KEY_Control_L, XKB_KEY_Alt_L,
                                                       XKB_KEY_ISO_Level3_Shift};
    static constexpr std::array<const char*, 4> kNames{XKB_MOD_NAME_SHIFT, XKB_MOD_NAME_CTRL,
                                                       XKB_MOD_NAME_ALT, nullptr};
    xkb_state* state = xkb_state_new(m_keymap);
    for (size_t i = 0; i < kKeys.size(); ++i) {
        if (const xkb_keycode_t key = KeyOfKeysym(m_keymap, kKeys[i]); key != 0 && state != nullptr) {
            xkb_state_update_key(state, key, XKB_KEY_DOWN);
            m_masks[i] = xkb_state_serialize_mods(state, XKB_STATE_MODS_DEPRESSED);
            xkb_state_update_key(state, key, XKB_KEY_UP);
        }
        if (m_masks[i] == 0 && kNames[i] != nullptr) {
            const xkb_mod_index_t index = xkb_keymap_mod_get_index(m_keymap, kNames[i]);
            m_masks[i] = index == XKB_MOD_INVALID ? 0 : 1u << index;
        }
    }
    xkb_state_unref(state);
}

void Keymap::ReadKeys() {
    const xkb_keycode_t last = std::min(xkb_keymap_max_keycode(m_keymap), kHighestKey);
    for (xkb_keycode_t key = xkb_keymap_min_keycode(m_keymap); key <= last; ++key) {
        if (xkb_keymap_num_layouts_for_key(m_keymap, key) == 0) {
            if (const char* name = xkb_keymap_key_get_name(m_keymap, key)) {
                m_freeKeys.emplace_back(name);
            }
            continue;
        }
        for (xkb_level_index_t level = 0; level < xkb_keymap_num_levels_for_key(m_keymap, key, 0); ++level) {
            const xkb_keysym_t* symbols = nullptr;
            const char32_t character =
                xkb_keymap_key_get_syms_by_level(m_keymap, key, 0, level, &symbols) == 1
                    ? xkb::CharacterOfKeysym(symbols[0])
                    : 0;
            const auto state = character == 0 ? std::nullopt : ShiftStateOfLevel(key, level);
            if (!state) {
                continue;
            }
            auto [it, added] = m_characters.try_emplace(character, KeyScan{key, *state, false});
            if (!added && std::popcount(*state) < std::popcount(it->second.shiftState)) {
                it->second = KeyScan{key, *state, false};
            }
        }
    }
}

std::optional<unsigned> Keymap::ShiftStateOfLevel(KeyCode key, unsigned level) const {
    const unsigned shift = ModifierMask(Modifier::shift), level3 = ModifierMask(Modifier::altGr);
    std::array<xkb_mod_mask_t, 16> masks{};
    const size_t count =
        xkb_keymap_key_get_mods_for_level(m_keymap, key, 0, level, masks.data(), masks.size());
    std::optional<unsigned> best;
    for (size_t i = 0; i < count; ++i) {
        if ((masks[i] & ~(shift | level3)) != 0) {
            continue;
        }
        const unsigned state =
            ((masks[i] & shift) ? kShiftBit : 0) | ((masks[i] & level3) ? kCtrlBit | kAltBit : 0);
        if (!best || std::popcount(state) < std::popcount(*best)) {
            best = state;
        }
    }
    return best;
}

std::optional<KeyScan> Keymap::Find(char32_t character) const {
    const auto it = m_characters.find(character);
    return it != m_characters.end() ? std::optional(it->second) : std::nullopt;
}

std::string Keymap::WithLentKeys(std::u32string_view characters, std::size_t& typeable) const {
    std::vector<char32_t> lacking;
    std::set<char32_t> seen;
    for (char32_t character : characters) {
        if (!Find(character) && xkb::KeysymOfCharacter(character) != 0 && seen.insert(character).second) {
            lacking.push_back(character);
        }
    }
    // A key carries a second character on its level-3 levels only when the keys run short, as X11
    // lent keys do.
    const bool twoSlots = lacking.size() > m_freeKeys.size() && ModifierMask(Modifier::altGr) != 0 &&
                          m_text.find("\"FOUR_LEVEL_ALPHABETIC\"") != std::string::npos;
    lacking.resize(std::min(lacking.size(), m_freeKeys.size() * (twoSlots ? 2 : 1)));
    const std::set<char32_t> lent(lacking.begin(), lacking.end());
    typeable = 0;
    while (typeable < characters.size() &&
           (Find(characters[typeable]) || lent.contains(characters[typeable]))) {
        ++typeable;
    }
    if (lacking.empty()) {
        return m_text;
    }
    std::string keys;
    const size_t perKey = twoSlots ? 2 : 1;
    for (size_t first = 0; first < lacking.size(); first += perKey) {
        const size_t last = std::min(first + perKey, lacking.size());
        std::string levels;
        for (size_t i = first; i < last; ++i) {
            for (std::uint32_t keysym : xkb::LentLevels(lacking[i])) {
                levels += (levels.empty() ? "" : ", ") + KeysymName(keysym);
            }
        }
        keys += "\tkey <" + m_freeKeys[first / perKey] + "> { type[Group1] = \"" +
                (last - first == 2 ? "FOUR_LEVEL_ALPHABETIC" : "ALPHABETIC") + "\", symbols[Group1] = [ " +
                levels + " ] };\n";
    }
    std::string text = m_text;
    const size_t symbols = text.find("xkb_symbols");
    const size_t end = symbols == std::string::npos ? std::string::npos : text.find("\n};", symbols);
    if (end == std::string::npos) {
        typeable = 0;
        return m_text;
    }
    text.insert(end + 1, keys);
    return text;
}

} // namespace klt::wayland
