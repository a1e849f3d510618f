#pragma once
// Characters and X keysyms. Layouts name most characters with the old named keysyms (Cyrillic_a,
// EuroSign); every other character has the keysym 0x1000000 + its code point.

#include <cstdint>

namespace klt::x11 {

// The keysym that stands for the character.
std::uint32_t KeysymOfCharacter(char32_t character);
// The character a keysym types; 0 for keysyms that are not a character in their own right
// (modifiers, dead keys, function keys, and keypad keys, which share their digits with the main block).
char32_t CharacterOfKeysym(std::uint32_t keysym);
// The keysym of a Windows virtual-key code; 0 for codes that have none.
std::uint32_t KeysymOfVirtualKey(unsigned virtualKey);

} // namespace klt::x11
