#pragma once
// One route's platform services: the keyboard that types, the windows of the desktop and the global
// hot key. Each route (an X11 display, a Wayland compositor, the desktop portal) opens its own; they
// share the connection that the route opened, which the Qt event loop of the opening thread serves.
// Open a route once the application object exists: hot keys, lent keys and the portal's answers need
// its loop.

#include "platform/HotKey.h"
#include "platform/Keyboard.h"
#include "platform/WindowSystem.h"

#include <memory>
#include <string>

namespace klt {

class Platform {
public:
    virtual ~Platform() = default;
    Platform() = default;
    Platform(const Platform&) = delete;
    Platform& operator=(const Platform&) = delete;

    virtual IKeyboard& Keyboard() = 0;
    virtual IWindowSystem& Windows() = 0;
    virtual IHotKey& HotKey() = 0;
};

// The services of the named X11 display, or of $DISPLAY when the name is empty. Null when that fails.
std::unique_ptr<Platform> OpenX11Platform(const std::string& displayName = {});

// The services of a Wayland compositor that lets clients type through a virtual keyboard and lists its
// toplevel windows (wlroots compositors, sway among them), at $WAYLAND_DISPLAY; null unless it offers
// both. The program's own windows stay on the compositor's X server; these services reach every
// window, native or not. modifierSource tells which modifiers the user holds (may be null); toplevels
// whose application id is ownAppId are the program's own. The hot key is, on sway, a binding of the
// compositor's that starts the program with --paste; elsewhere the compositor's own settings bind that
// command, and registering only reports success.
std::unique_ptr<Platform> OpenWaylandPlatform(IKeyboard* modifierSource, const std::string& ownAppId);

// The services of a desktop that lets clients type and take hot keys only through the desktop portal
// (KDE Plasma on Wayland): keys go through a remote-desktop session, the hot key is a global shortcut
// of the portal, and the window that was active stands for every window. Null unless the portal types
// without asking the user and offers global shortcuts. modifierSource answers IsModifierDown and
// IsCapsLockOn (the keyboard of the X display the program's own windows are on; may be null).
std::unique_ptr<Platform> OpenPortalPlatform(IKeyboard* modifierSource);

} // namespace klt
