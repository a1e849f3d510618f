#pragma once
// The platform services that pasting uses: the keyboard, the windows of the desktop and the global
// hot key. The program installs those of its X display at start; tests install fakes.

#include "HotKey.h"
#include "Keyboard.h"
#include "WindowSystem.h"

namespace klt {

struct PlatformServices {
    IKeyboard& keyboard;
    IWindowSystem& windows;
    IHotKey& hotKey;
};

// The services in force, or null when there are none (no X display).
PlatformServices* CurrentPlatform();
// Installs services (not owned); null removes them. Returns the previous ones.
PlatformServices* InstallPlatform(PlatformServices* pServices);

} // namespace klt
