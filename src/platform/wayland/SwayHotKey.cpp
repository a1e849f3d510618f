#include "platform/wayland/SwayHotKey.h"

#include "framework/WinKeys.h"
#include "platform/xkb/Keysyms.h"

#include <array>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <xkbcommon/xkbcommon.h>

namespace klt::wayland {

namespace {

constexpr std::string_view kMagic = "i3-ipc";
constexpr std::uint32_t kRunCommand = 0;
constexpr unsigned kModWin = 0x0008;

bool SendAll(int fd, const void* data, size_t size) {
    const auto* bytes = static_cast<const char*>(data);
    while (size > 0) {
        const ssize_t sent = send(fd, bytes, size, MSG_NOSIGNAL);
        if (sent <= 0) {
            return false;
        }
        bytes += sent;
        size -= static_cast<size_t>(sent);
    }
    return true;
}

bool ReceiveAll(int fd, void* data, size_t size) {
    auto* bytes = static_cast<char*>(data);
    while (size > 0) {
        const ssize_t received = recv(fd, bytes, size, 0);
        if (received <= 0) {
            return false;
        }
        bytes += received;
        size -= static_cast<size_t>(received);
    }
    return true;
}

} // namespace

SwayHotKey::SwayHotKey(std::string socketPath, std::string pasteCommand)
    : m_socketPath(std::move(socketPath)), m_pasteCommand(std::move(pasteCommand)) {}

SwayHotKey::~SwayHotKey() {
    Unregister();
}

std::string SwayHotKey::CombinationName(unsigned modifiers, unsigned virtualKey) {
    char key[64] = {};
    const std::uint32_t keysym = xkb::KeysymOfVirtualKey(virtualKey & 0xFF);
    if (keysym == 0 || xkb_keysym_get_name(keysym, key, sizeof key) <= 0) {
        return {};
    }
    std::string name;
    static constexpr std::array<std::pair<unsigned, const char*>, 4> kModifiers{
        {{MOD_CONTROL, "Ctrl+"}, {MOD_ALT, "Mod1+"}, {MOD_SHIFT, "Shift+"}, {kModWin, "Mod4+"}}};
    for (const auto& [bit, prefix] : kModifiers) {
        if (modifiers & bit) {
            name += prefix;
        }
    }
    return name + key;
}

bool SwayHotKey::Register(unsigned modifiers, unsigned virtualKey) {
    Unregister();
    const std::string combination = CombinationName(modifiers, virtualKey);
    if (combination.empty() || (modifiers & (MOD_ALT | MOD_CONTROL | MOD_SHIFT | kModWin)) == 0) {
        return false;
    }
    // The command stays one word for the binding; the compositor hands it to the shell as it stands.
    if (!Run("bindsym --no-repeat " + combination + " \"exec " + m_pasteCommand + "\"")) {
        return false;
    }
    m_bound = combination;
    return true;
}

bool SwayHotKey::Unregister() {
    if (m_bound.empty()) {
        return true;
    }
    const bool removed = Run("unbindsym " + m_bound);
    m_bound.clear();
    return removed;
}

bool SwayHotKey::Run(const std::string& command) const {
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (m_socketPath.empty() || m_socketPath.size() >= sizeof address.sun_path) {
        return false;
    }
    std::memcpy(address.sun_path, m_socketPath.c_str(), m_socketPath.size() + 1);
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0) {
        return false;
    }
    struct Header {
        char magic[6];
        std::uint32_t length;
        std::uint32_t type;
    } __attribute__((packed));
    Header header{};
    std::memcpy(header.magic, kMagic.data(), kMagic.size());
    header.length = static_cast<std::uint32_t>(command.size());
    header.type = kRunCommand;
    std::string reply;
    bool ok = connect(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) == 0 &&
              SendAll(fd, &header, sizeof header) && SendAll(fd, command.data(), command.size()) &&
              ReceiveAll(fd, &header, sizeof header);
    if (ok && header.length < (1u << 20)) {
        reply.resize(header.length);
        ok = ReceiveAll(fd, reply.data(), reply.size());
    }
    close(fd);
    // One result per command: [{"success": true}]
    return ok && reply.find("\"success\": false") == std::string::npos &&
           reply.find("\"success\":false") == std::string::npos &&
           reply.find("\"success\"") != std::string::npos;
}

} // namespace klt::wayland
