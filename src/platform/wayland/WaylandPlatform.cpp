#include "platform/WaylandPlatform.h"

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

} // namespace

struct WaylandPlatform::Services {
    Services(std::unique_ptr<wayland::Connection> opened, IKeyboard* modifierSource,
             const std::string& ownAppId)
        : connection(std::move(opened)), keyboard(*connection, modifierSource),
          windows(*connection, ownAppId) {
        const char* sway = std::getenv("SWAYSOCK");
        if (sway != nullptr && *sway != '\0') {
            hotKey = std::make_unique<wayland::SwayHotKey>(sway, PasteCommand());
        } else {
            hotKey = std::make_unique<ConfiguredHotKey>();
        }
    }

    std::unique_ptr<wayland::Connection> connection; // destroyed last
    wayland::WaylandKeyboard keyboard;
    wayland::WaylandWindows windows;
    std::unique_ptr<IHotKey> hotKey;
};

std::unique_ptr<WaylandPlatform> WaylandPlatform::Open(IKeyboard* modifierSource,
                                                       const std::string& ownAppId) {
    auto connection = wayland::Connection::Open();
    if (!connection || connection->VirtualKeyboards() == nullptr || connection->Toplevels() == nullptr) {
        return nullptr;
    }
    return std::unique_ptr<WaylandPlatform>(
        new WaylandPlatform(std::make_unique<Services>(std::move(connection), modifierSource, ownAppId)));
}

WaylandPlatform::WaylandPlatform(std::unique_ptr<Services> services) : m_services(std::move(services)) {}
WaylandPlatform::~WaylandPlatform() = default;

IKeyboard& WaylandPlatform::Keyboard() {
    return m_services->keyboard;
}
IWindowSystem& WaylandPlatform::Windows() {
    return m_services->windows;
}
IHotKey& WaylandPlatform::HotKey() {
    return *m_services->hotKey;
}

} // namespace klt
