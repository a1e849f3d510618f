#pragma once
// The platform services of a desktop that lets clients type and take hot keys only through the
// desktop portal (KDE Plasma on Wayland): keys go through a remote-desktop session, the hot key is a
// global shortcut of the portal, and the window that was active stands for every window.

#include "platform/HotKey.h"
#include "platform/Keyboard.h"
#include "platform/WindowSystem.h"

#include <memory>

namespace klt {

class PortalPlatform {
public:
    // Talks to the portal on the session bus. Null unless it types without asking the user and offers
    // global shortcuts. modifierSource answers IsModifierDown and IsCapsLockOn (the keyboard of the X
    // display the program's own windows are on; may be null). Open it once the application object
    // exists: the portal's answers come through its event loop.
    static std::unique_ptr<PortalPlatform> Open(IKeyboard* modifierSource);
    ~PortalPlatform();
    PortalPlatform(const PortalPlatform&) = delete;
    PortalPlatform& operator=(const PortalPlatform&) = delete;

    IKeyboard& Keyboard();
    IWindowSystem& Windows();
    IHotKey& HotKey();

private:
    struct Services;
    explicit PortalPlatform(std::unique_ptr<Services> services);
    std::unique_ptr<Services> m_services;
};

} // namespace klt
