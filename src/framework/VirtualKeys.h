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
// "Ctrl + Alt + Insert"; "None" for no key.
std::string HotKeyText(WORD vk, WORD wHotKeyModifiers);
} // namespace klt
