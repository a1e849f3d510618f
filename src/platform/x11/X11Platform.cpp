#include "platform/X11Platform.h"

#include "platform/x11/X11Connection.h"
#include "platform/x11/X11HotKey.h"
#include "platform/x11/X11Keyboard.h"
#include "platform/x11/X11Windows.h"

namespace klt {

struct X11Platform::Services {
    explicit Services(std::unique_ptr<x11::Connection> opened)
        : connection(std::move(opened)), keyboard(*connection), windows(*connection), hotKey(*connection) {}

    std::unique_ptr<x11::Connection> connection; // destroyed last
    x11::X11Keyboard keyboard;
    x11::X11Windows windows;
    x11::X11HotKey hotKey;
};

std::unique_ptr<X11Platform> X11Platform::Open(const std::string& displayName) {
    auto connection = x11::Connection::Open(displayName);
    if (!connection) {
        return nullptr;
    }
    return std::unique_ptr<X11Platform>(new X11Platform(std::make_unique<Services>(std::move(connection))));
}

X11Platform::X11Platform(std::unique_ptr<Services> services) : m_services(std::move(services)) {}
X11Platform::~X11Platform() = default;

IKeyboard& X11Platform::Keyboard() {
    return m_services->keyboard;
}
IWindowSystem& X11Platform::Windows() {
    return m_services->windows;
}
IHotKey& X11Platform::HotKey() {
    return m_services->hotKey;
}

} // namespace klt
