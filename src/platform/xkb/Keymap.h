#pragma once
// A keymap in the text form that the compositor and its clients pass round, in the shape the typing
// engine asks about it: which key and modifiers give a character in the first layout, which state
// bits a held modifier sets, and a copy with the characters it lacks lent to keys that carry nothing.

#include "platform/Keyboard.h"

#include <array>
#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

struct xkb_keymap;

namespace klt::wayland {

class Keymap {
public:
    // Null when the text is not a keymap.
    static std::unique_ptr<Keymap> FromText(std::string_view text);
    // The keymap of the layout with the other rule names the XKB_DEFAULT_* ones; without a layout,
    // what a compositor gives a keyboard it has no settings for.
    static std::unique_ptr<Keymap> OfLayout(const char* layout = nullptr);
    ~Keymap();
    Keymap(const Keymap&) = delete;
    Keymap& operator=(const Keymap&) = delete;

    // The keymap as the compositor would pass it on.
    const std::string& Text() const { return m_text; }
    // The key that gives the character in the first layout with the fewest modifiers; only Shift and
    // the level-3 shift (typed as Ctrl+Alt) count. Keys above 255 are left out: X11 clients lack them.
    std::optional<KeyScan> Find(char32_t character) const;
    // The state bits that the modifier sets while held; 0 when the keymap has no such modifier.
    unsigned ModifierMask(Modifier modifier) const { return m_masks[static_cast<int>(modifier)]; }
    // The fewest of Shift and the level-3 shift (as kShiftBit and Ctrl+Alt) that select the level of the
    // key in the first layout; nullopt when the level needs other modifiers.
    std::optional<unsigned> ShiftStateOfLevel(KeyCode key, unsigned level) const;
    // The compiled keymap, for lookups by other rules than Find's (the desktop portal's).
    xkb_keymap* Handle() const { return m_keymap; }

    // This keymap's text with the characters among `characters` that it lacks put on free keys, in
    // the order they come, as long as keys last. `typeable` tells how many leading characters the
    // returned keymap gives.
    std::string WithLentKeys(std::u32string_view characters, std::size_t& typeable) const;

private:
    explicit Keymap(xkb_keymap* keymap);
    void ReadModifiers();
    void ReadKeys();

    xkb_keymap* m_keymap;
    std::string m_text;
    std::array<unsigned, 4> m_masks{}; // per Modifier
    std::unordered_map<char32_t, KeyScan> m_characters;
    std::vector<std::string> m_freeKeys; // names of keys without symbols, lowest keycode first
};

} // namespace klt::wayland
