#pragma once
// Windows virtual-key codes, which settings and key tables store, to and from Qt keys.

#include "framework/AfxDefs.h"

#include <string>

namespace klt {
// The virtual key of a Qt key (Qt::Key), 0 when there is none. bKeypad: the key came from the
// numeric keypad. bExtended is set for the keys of the editing and arrow blocks.
WORD VirtualKeyFromQt(int qtKey, bool bKeypad, bool* pbExtended = nullptr);
// The Qt key of a virtual key, 0 when there is none.
int QtKeyFromVirtualKey(WORD vk);
// Whether the key types a character (a letter, digit, space or punctuation, also on the keypad): as a
// global hot key it would take that character from every program, unless Ctrl or Alt comes with it.
bool TypesCharacter(WORD vk);
// Whether the combination (MOD_* modifiers) may be a global hot key: a key that types a character
// needs Ctrl or Alt.
bool IsGlobalHotKey(UINT nModModifiers, WORD vk);
// "Ctrl + Alt + Insert"; "None" for no key.
std::string HotKeyText(WORD vk, WORD wHotKeyModifiers);
} // namespace klt
