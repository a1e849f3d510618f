#include "app/instance/CommandChannel.h"

#include "app/instance/InstanceLock.h"

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace klt {
namespace {

constexpr std::string_view kMagic = "KLT1";
constexpr std::string_view kChannelPrefix = "keyloft-window-";

void PutNumber(std::string& bytes, uint32_t value) {
    for (int i = 0; i < 4; ++i) {
        bytes += static_cast<char>((value >> (8 * i)) & 0xFF);
    }
}

uint32_t GetNumber(std::string_view bytes, size_t offset) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[offset + static_cast<size_t>(i)]);
    }
    return value;
}

// A connected socket that is closed with its owner.
class Socket {
public:
    Socket() : m_fd(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0)) {}
    ~Socket() {
        if (m_fd >= 0) {
            close(m_fd);
        }
    }
    Socket(const Socket&) = delete;
    Socket& operator=(const Socket&) = delete;

    bool Connect(const std::string& path) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        if (m_fd < 0 || path.empty() || path.size() >= sizeof address.sun_path) {
            return false;
        }
        std::memcpy(address.sun_path, path.c_str(), path.size() + 1);
        int result = 0;
        do {
            result = connect(m_fd, reinterpret_cast<const sockaddr*>(&address), sizeof address);
        } while (result != 0 && errno == EINTR);
        return result == 0;
    }

    bool SendAll(std::string_view bytes) {
        while (!bytes.empty()) {
            const ssize_t n = send(m_fd, bytes.data(), bytes.size(), MSG_NOSIGNAL);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                return false;
            }
            bytes.remove_prefix(static_cast<size_t>(n));
        }
        return true;
    }

    // Waits as long as the other end keeps the connection open.
    bool ReceiveAll(char* buffer, size_t length) {
        while (length > 0) {
            const ssize_t n = recv(m_fd, buffer, length, 0);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n <= 0) {
                return false;
            }
            buffer += n;
            length -= static_cast<size_t>(n);
        }
        return true;
    }

    int Handle() const { return m_fd; }

private:
    int m_fd;
};

} // namespace

std::string EncodeChannelMessage(const ChannelMessage& message) {
    std::string bytes(kMagic);
    PutNumber(bytes, message.window);
    PutNumber(bytes, message.message);
    PutNumber(bytes, message.wParam);
    PutNumber(bytes, message.lParam);
    PutNumber(bytes, static_cast<uint32_t>(message.file.size()));
    return bytes + message.file;
}

std::optional<size_t> ChannelMessageSize(std::string_view bytes) {
    if (bytes.size() < kChannelHeaderSize || !bytes.starts_with(kMagic) ||
        GetNumber(bytes, kChannelHeaderSize - 4) > kMaxChannelFile) {
        return std::nullopt;
    }
    return kChannelHeaderSize + GetNumber(bytes, kChannelHeaderSize - 4);
}

std::optional<ChannelMessage> DecodeChannelMessage(std::string_view bytes) {
    if (ChannelMessageSize(bytes) != bytes.size()) {
        return std::nullopt;
    }
    return ChannelMessage{GetNumber(bytes, 4), GetNumber(bytes, 8), GetNumber(bytes, 12),
                          GetNumber(bytes, 16), std::string(bytes.substr(kChannelHeaderSize))};
}

std::string EncodeChannelAnswer(int32_t result) {
    std::string bytes;
    PutNumber(bytes, static_cast<uint32_t>(result));
    return bytes;
}

std::string ChannelPath(uint32_t window) {
    const std::string folder = RuntimeFolder();
    return folder.empty() ? std::string()
                          : folder + "/" + std::string(kChannelPrefix) + std::to_string(window);
}

bool IsChannelName(const std::string& fileName) {
    return fileName.size() > kChannelPrefix.size() && fileName.starts_with(kChannelPrefix) &&
           fileName.find_first_not_of("0123456789", kChannelPrefix.size()) == std::string::npos;
}

bool IsSameUserPeer(int fd) {
    ucred credentials{};
    socklen_t length = sizeof credentials;
    return getsockopt(fd, SOL_SOCKET, SO_PEERCRED, &credentials, &length) == 0 &&
           length == sizeof credentials && credentials.uid == getuid();
}

bool SendChannelMessage(const ChannelMessage& message, int32_t& result) {
    Socket socket;
    if (message.window == 0 || !socket.Connect(ChannelPath(message.window)) ||
        !IsSameUserPeer(socket.Handle()) || !socket.SendAll(EncodeChannelMessage(message))) {
        return false;
    }
    char answer[kChannelAnswerSize];
    if (!socket.ReceiveAll(answer, sizeof answer)) {
        return false;
    }
    result = static_cast<int32_t>(GetNumber(std::string_view(answer, sizeof answer), 0));
    return true;
}

} // namespace klt
