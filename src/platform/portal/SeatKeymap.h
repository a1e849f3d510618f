#pragma once
// The keymap the compositor gives every client's keyboard: the user's layout, the one the portal
// looks keysyms up in. Keyloft's own windows may sit on XWayland; this asks the compositor directly.

#include <string>

namespace klt::portal {

// The keymap of the seat's keyboard on $WAYLAND_DISPLAY in its text form; empty when there is none.
std::string ReadSeatKeymap();

} // namespace klt::portal
