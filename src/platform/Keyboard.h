#pragma once
// The keyboard as the typing engine sees it: which modifiers the user holds, Caps Lock, how the
// current layout produces a character, and synthetic key presses that reach the focused window.

#include <cstdint>
#include <optional>
#include <string_view>

namespace klt {

// Modifier keys. AltGr is the key that selects a layout's third level; Windows reports it as
// Ctrl+Alt, which is why a character whose shift state holds both is typed with it.
enum class Modifier { shift, ctrl, alt, altGr };

// Bits of a character's shift state, as in the layout lookup of Windows.
inline constexpr unsigned kShiftBit = 1;
inline constexpr unsigned kCtrlBit = 2;
inline constexpr unsigned kAltBit = 4;

// A key of the keyboard; what the number means is up to the implementation.
using KeyCode = std::uint32_t;

// How the current layout produces one character.
struct KeyScan {
    KeyCode key = 0;
    unsigned shiftState = 0; // kShiftBit, kCtrlBit, kAltBit; Ctrl+Alt together means AltGr
    bool letter = false;     // Caps Lock swaps the key's small and capital letter
    bool operator==(const KeyScan&) const = default;
};

class IKeyboard {
public:
    virtual ~IKeyboard() = default;

    // True while the user holds the modifier (either key of a left/right pair). Alt counts AltGr too,
    // as Windows does, so that typing never starts while a level-3 key is held.
    virtual bool IsModifierDown(Modifier modifier) = 0;
    virtual bool IsCapsLockOn() = 0;

    // The key and shift state that produce the character in the active layout group, without regard
    // to Caps Lock; nullopt when the keyboard cannot produce the character.
    virtual std::optional<KeyScan> LookUp(char32_t character) = 0;

    // One synthetic press or release, delivered to whichever window has the keyboard focus.
    virtual void SendKey(KeyCode key, bool down) = 0;
    virtual void SendModifier(Modifier modifier, bool down) = 0;
    // After the last key of a character: a keyboard that holds its keys back sends them now.
    virtual void EndCharacter() {}

    // Around the keys of one text: a keyboard that must prepare its layout for the whole text at once
    // learns its characters before the first key and is told when the last one has gone.
    virtual void BeginText(std::u32string_view /*characters*/) {}
    virtual void EndText() {}
};

} // namespace klt
