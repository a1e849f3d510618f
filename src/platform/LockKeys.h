#pragma once
// The lock keys' states as the keyboard's indicators show them, for the status bar.

#include <cstdint>

namespace klt {

// Whether the lock key of the virtual-key code VK_CAPITAL, VK_NUMLOCK or VK_SCROLL is on for the
// X display the program's windows are on; false for other keys and without an X display.
bool IsLockKeyOn(std::uint16_t vk);

} // namespace klt
