#include "platform/x11/X11Properties.h"

#include "platform/x11/X11Connection.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>

namespace klt::x11 {

namespace {

// Hands the items of a property to use when it exists with the given type and format (8 or 32 bits);
// nothing happens when it is missing, of another type, or the window has gone.
template <class Use>
void WithProperty(Display* display, Window window, Atom property, Atom type, int wantedFormat, long length,
                  Use use) {
    ErrorTrap trap(display);
    Atom actualType = None;
    int format = 0;
    unsigned long count = 0, remaining = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(display, window, property, 0, length, False, type, &actualType,
                                          &format, &count, &remaining, &data);
    if (status == Success && trap.Succeeded() && data && actualType == type && format == wantedFormat) {
        use(data, count);
    }
    if (data) {
        XFree(data);
    }
}

std::string Utf8Property(Display* display, Window window, Atom property, Atom utf8) {
    std::string text;
    WithProperty(display, window, property, utf8, 8, 4096,
                 [&](const unsigned char* data, unsigned long count) {
                     text.assign(reinterpret_cast<const char*>(data), count);
                 });
    return text;
}

// WM_NAME may be Latin-1 or compound text; Xlib turns either into UTF-8.
std::string LegacyName(Display* display, Window window) {
    ErrorTrap trap(display);
    XTextProperty name{};
    if (!XGetWMName(display, window, &name) || !trap.Succeeded() || !name.value) {
        return {};
    }
    std::string text;
    char** list = nullptr;
    int count = 0;
    if (Xutf8TextPropertyToTextList(display, &name, &list, &count) >= Success && list) {
        for (int i = 0; i < count; ++i) {
            text += list[i];
        }
        XFreeStringList(list);
    }
    XFree(name.value);
    return text;
}

} // namespace

// The 32-bit items (windows, atoms) of a property; empty when it is missing or of another type.
std::vector<unsigned long> ListProperty(Display* display, Window window, Atom property, Atom type) {
    std::vector<unsigned long> items;
    WithProperty(display, window, property, type, 32, 1024,
                 [&](const unsigned char* data, unsigned long count) {
                     const auto* values = reinterpret_cast<const unsigned long*>(data);
                     items.assign(values, values + count);
                 });
    return items;
}

std::string WindowTitle(Display* display, Window window) {
    std::string title = Utf8Property(display, window, XInternAtom(display, "_NET_WM_NAME", False),
                                     XInternAtom(display, "UTF8_STRING", False));
    return title.empty() ? LegacyName(display, window) : title;
}

} // namespace klt::x11
