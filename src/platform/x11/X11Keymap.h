#pragma once
// A snapshot of the keyboard mapping in the shape the typing engine asks about it: which key and
// shift state give a character in a layout group, which keys are the modifiers, which keys are free.

#include "platform/Keyboard.h"

#include <array>
#include <optional>
#include <unordered_map>
#include <vector>

struct _XDisplay;
struct _XkbDesc;
struct _XkbKeyType;

namespace klt::x11 {

class Keymap {
public:
    // Reads the server's current mapping.
    explicit Keymap(_XDisplay* display);

    // The key of the group that gives the character with the fewest modifiers; keys on the third level
    // count only when a level-3 shift key exists. Characters behind dead keys are not found. With Caps
    // Lock on, keys that Caps Lock would turn to capitals without a way back are left out.
    std::optional<KeyScan> Find(char32_t character, int group, bool capsLock) const;
    // The key that is pressed for a modifier (the left one of a pair); 0 when the keyboard has none.
    KeyCode ModifierKey(Modifier modifier) const;
    // Every key that counts as the modifier being held.
    const std::vector<KeyCode>& KeysOf(Modifier modifier) const;
    // Keys with no symbols at all: free to carry a character for a moment.
    const std::vector<KeyCode>& SpareKeys() const { return m_spareKeys; }
    int GroupCount() const { return static_cast<int>(m_characters.size()); }

private:
    using Characters = std::unordered_map<char32_t, KeyScan>;

    void Read(_XDisplay* display);
    void ReadKey(_XkbDesc* xkb, int key, unsigned level3Mask);
    static void AddForCapsLock(Characters& characters, const _XkbKeyType& type, unsigned long keysym,
                               char32_t character, const KeyScan& scan, int level, unsigned level3Mask);

    std::vector<Characters> m_characters;               // per group
    std::vector<Characters> m_capsCharacters;           // per group, those that Caps Lock leaves alone
    std::array<std::vector<KeyCode>, 4> m_modifierKeys; // per Modifier, press order
    std::vector<KeyCode> m_spareKeys;
};

} // namespace klt::x11
