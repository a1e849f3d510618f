#include "platform/Platform.h"
#include "platform/x11/X11Connection.h"
#include "platform/x11/X11HotKey.h"
#include "platform/x11/X11Keyboard.h"
#include "platform/x11/X11Windows.h"

namespace klt {

namespace {

// All three services share one connection to the display.
class X11Platform final : public Platform {
public:
    explicit X11Platform(std::unique_ptr<x11::Connection> opened)
        : m_connection(std::move(opened)), m_keyboard(*m_connection), m_windows(*m_connection),
          m_hotKey(*m_connection) {}

    IKeyboard& Keyboard() override { return m_keyboard; }
    IWindowSystem& Windows() override { return m_windows; }
    IHotKey& HotKey() override { return m_hotKey; }

private:
    std::unique_ptr<x11::Connection> m_connection; // destroyed last
    x11::X11Keyboard m_keyboard;
    x11::X11Windows m_windows;
    x11::X11HotKey m_hotKey;
};

} // namespace

std::unique_ptr<Platform> OpenX11Platform(const std::string& displayName) {
    auto connection = x11::Connection::Open(displayName);
    if (!connection) {
        return nullptr;
    }
    return std::make_unique<X11Platform>(std::move(connection));
}

} // namespace klt
