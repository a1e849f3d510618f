#pragma once
// Reading the properties of a window, for the X11 services and for the tests that look at a display
// of their own. Xlib stays in the .cpp: a display is an _XDisplay*, windows and atoms are unsigned
// long.

#include <string>
#include <vector>

struct _XDisplay;

namespace klt::x11 {

// The 32-bit items (windows, atoms) of a property of the given type; empty when it is missing, of
// another type, or the window has gone.
std::vector<unsigned long> ListProperty(_XDisplay* display, unsigned long window, unsigned long property,
                                        unsigned long type);
// A window's title: _NET_WM_NAME, else WM_NAME (Latin-1 or compound text, turned into UTF-8); empty
// when it has neither.
std::string WindowTitle(_XDisplay* display, unsigned long window);

} // namespace klt::x11
