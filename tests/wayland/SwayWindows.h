#pragma once
// The test's view of the sway session's windows, through sway's IPC socket (swaymsg).

#include "support/TypingTargets.h"

namespace klt::wayland_test {

// Waits, within the bound, until sway shows a window with exactly this title (native or XWayland);
// its container id, 0 when none came.
klt::WindowId WaitForSwayWindow(const std::string& title);
// Gives the window the keyboard focus, as the user's click would; false when sway refused.
bool FocusSwayWindow(klt::WindowId container);

} // namespace klt::wayland_test
