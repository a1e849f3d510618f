#pragma once
// The platform services on an X11 display. All three share one connection, which is served by the
// Qt event loop of the thread that opened it.

#include "platform/HotKey.h"
#include "platform/Keyboard.h"
#include "platform/WindowSystem.h"

#include <memory>
#include <string>

namespace klt {

class X11Platform {
public:
    // Connects to the named display, or to $DISPLAY when the name is empty. Null when that fails.
    // Open it once the application object exists: the hot key and the return of lent keys need its loop.
    static std::unique_ptr<X11Platform> Open(const std::string& displayName = {});
    ~X11Platform();
    X11Platform(const X11Platform&) = delete;
    X11Platform& operator=(const X11Platform&) = delete;

    IKeyboard& Keyboard();
    IWindowSystem& Windows();
    IHotKey& HotKey();

private:
    struct Services;
    explicit X11Platform(std::unique_ptr<Services> services);
    std::unique_ptr<Services> m_services;
};

} // namespace klt
