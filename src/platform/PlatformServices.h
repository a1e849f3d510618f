#pragma once
// The platform services that pasting uses: the keyboard, the windows of the desktop and the global
// hot key. The program installs those of its X display at start; tests install fakes.

#include "platform/HotKey.h"
#include "platform/Keyboard.h"
#include "platform/WindowSystem.h"

namespace klt {

struct PlatformServices {
    IKeyboard& keyboard;
    IWindowSystem& windows;
    IHotKey& hotKey;
    // No foreground window may mean one that these services cannot reach (a native window of a
    // Wayland desktop seen from its X11 side) rather than none at all.
    bool noneMayBeUnreachable = false;
    // Whether the desktop shows a minimised window as minimised. Where it does not (wlroots
    // compositors map it like any other), a hidden main window stays hidden while it serves a paste.
    bool canMinimise = true;
};

// The services in force, or null when there are none (no X display).
PlatformServices* CurrentPlatform();
// Installs services (not owned); null removes them. Returns the previous ones.
PlatformServices* InstallPlatform(PlatformServices* pServices);

} // namespace klt
