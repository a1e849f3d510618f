#include "platform/Platform.h"
#include "platform/wayland/SwayHotKey.h"
#include "platform/wayland/WaylandConnection.h"
#include "platform/wayland/WaylandKeyboard.h"
#include "platform/wayland/WaylandWindows.h"

#include <cstdlib>
#include <filesystem>

namespace klt {

namespace {

// Where the compositor has no socket for bindings, its own settings bind the command.
class ConfiguredHotKey final : public IHotKey {
public:
    bool Register(unsigned, unsigned) override { return true; }
    bool Unregister() override { return true; }
    void SetPressedCallback(std::function<void()>) override {}
};

// The running program with --paste, quoted for the shell.
std::string PasteCommand() {
    std::error_code error;
    const std::string program = std::filesystem::read_symlink("/proc/self/exe", error).string();
    std::string quoted = "'";
    for (char c : program) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "' --paste";
}

// The keyboard and the windows share one connection to the compositor.
class WaylandPlatform final : public Platform {
public:
    WaylandPlatform(std::unique_ptr<wayland::Connection> opened, IKeyboard* modifierSource,
                    const std::string& ownAppId)
        : m_connection(std::move(opened)), m_keyboard(*m_connection, modifierSource),
          m_windows(*m_connection, ownAppId) {
        const char* sway = std::getenv("SWAYSOCK");
        if (sway != nullptr && *sway != '\0') {
            m_hotKey = std::make_unique<wayland::SwayHotKey>(sway, PasteCommand());
        } else {
            m_hotKey = std::make_unique<ConfiguredHotKey>();
        }
    }

    IKeyboard& Keyboard() override { return m_keyboard; }
    IWindowSystem& Windows() override { return m_windows; }
    IHotKey& HotKey() override { return *m_hotKey; }

private:
    std::unique_ptr<wayland::Connection> m_connection; // destroyed last
    wayland::WaylandKeyboard m_keyboard;
    wayland::WaylandWindows m_windows;
    std::unique_ptr<IHotKey> m_hotKey;
};

} // namespace

std::unique_ptr<Platform> OpenWaylandPlatform(IKeyboard* modifierSource, const std::string& ownAppId) {
    auto connection = wayland::Connection::Open();
    if (!connection || connection->VirtualKeyboards() == nullptr || !connection->OffersToplevels()) {
        return nullptr;
    }
    return std::make_unique<WaylandPlatform>(std::move(connection), modifierSource, ownAppId);
}

} // namespace klt
