#pragma once
// The platform services on a Wayland compositor that lets clients type through a virtual keyboard and
// lists its toplevel windows (wlroots compositors, sway among them). The program's own windows stay on
// the compositor's X server; these services reach every window, native or not.

#include "platform/HotKey.h"
#include "platform/Keyboard.h"
#include "platform/WindowSystem.h"

#include <memory>
#include <string>

namespace klt {

class WaylandPlatform {
public:
    // Connects to $WAYLAND_DISPLAY. Null unless the compositor offers virtual keyboards and the list of
    // toplevels. modifierSource tells which modifiers the user holds (may be null); toplevels whose
    // application id is ownAppId are the program's own. Open it once the application object exists.
    static std::unique_ptr<WaylandPlatform> Open(IKeyboard* modifierSource, const std::string& ownAppId);
    ~WaylandPlatform();
    WaylandPlatform(const WaylandPlatform&) = delete;
    WaylandPlatform& operator=(const WaylandPlatform&) = delete;

    IKeyboard& Keyboard();
    IWindowSystem& Windows();
    // On sway a binding of the compositor's that starts the program with --paste; elsewhere the
    // compositor's own settings bind that command, and registering only reports success.
    IHotKey& HotKey();

private:
    struct Services;
    explicit WaylandPlatform(std::unique_ptr<Services> services);
    std::unique_ptr<Services> m_services;
};

} // namespace klt
