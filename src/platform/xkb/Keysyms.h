#pragma once
// Characters and XKB keysyms, as X11 and Wayland keymaps both name them. Layouts name most characters with
// the old named keysyms (Cyrillic_a, EuroSign); every other character has the keysym 0x1000000 + its code
// point.

#include <array>
#include <cstdint>

namespace klt::xkb {

// The keysym that stands for the character.
std::uint32_t KeysymOfCharacter(char32_t character);
// The character a keysym types; 0 for keysyms that are not a character in their own right
// (modifiers, dead keys, function keys, and keypad keys, which share their digits with the main block).
char32_t CharacterOfKeysym(std::uint32_t keysym);
// The keysym of a Windows virtual-key code; 0 for codes that have none.
std::uint32_t KeysymOfVirtualKey(unsigned virtualKey);

// The two levels of a free key lent to a character the layout lacks: a letter's small and capital
// form, so that Caps Lock works on it as on the layout's letters; any other character twice.
std::array<std::uint32_t, 2> LentLevels(char32_t character);

} // namespace klt::xkb
