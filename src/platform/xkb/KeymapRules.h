#pragma once
// The rules by which every route reads a keymap for typing, whichever way it reads the keymap itself
// (the X server's map, or xkbcommon's): which shift state reaches a level, which key wins when
// several give a character, what makes a letter key, and when a lent key carries two characters.

#include "platform/Keyboard.h"

#include <span>
#include <unordered_map>

namespace klt::xkb {

// The name of the key type a lent key takes when it carries two characters.
inline constexpr char kFourLevelAlphabetic[] = "FOUR_LEVEL_ALPHABETIC";

// The shift state with the fewest modifiers among the modifier masks that select a level: Shift,
// the level-3 shift (typed as Ctrl+Alt) or both. Masks that need other modifiers are of no use for
// typing; nullopt when no mask is left.
std::optional<unsigned> ShiftStateOf(std::span<const unsigned> levelMasks, unsigned shiftMask,
                                     unsigned level3Mask);

// Keeps, for each character, the key that gives it with the fewest modifiers; the first such key
// when several tie.
void KeepFewestModifiers(std::unordered_map<char32_t, KeyScan>& characters, char32_t character,
                         const KeyScan& scan);

// A letter key: Caps Lock alone gives its second level. secondLevelMasks are the masks that select it.
bool IsLetterKey(std::span<const unsigned> secondLevelMasks, unsigned lockMask);

// A free key carries a second character on its level-3 levels only with a level-3 shift to reach
// them and the four-level alphabetic type to put them in.
bool CanLendTwoSlots(unsigned level3Mask, bool hasFourLevelType);

} // namespace klt::xkb
