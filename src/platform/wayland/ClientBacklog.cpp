#include "platform/wayland/ClientBacklog.h"

#include <array>
#include <cstdlib>
#include <cstring>
#include <linux/netlink.h>
#include <linux/rtnetlink.h>
#include <linux/sock_diag.h>
#include <linux/unix_diag.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace klt::wayland {

namespace {

struct DiagSocket {
    std::uint64_t inode = 0;
    std::uint64_t peer = 0;
    std::string name;
    std::size_t unread = 0;
};

// The attributes of one socket of the kernel's answer.
DiagSocket ParseSocket(const nlmsghdr* header) {
    const auto* message = static_cast<const unix_diag_msg*>(NLMSG_DATA(header));
    DiagSocket socket;
    socket.inode = message->udiag_ino;
    int left = static_cast<int>(header->nlmsg_len - NLMSG_LENGTH(sizeof *message));
    for (const auto* attribute = reinterpret_cast<const rtattr*>(message + 1); RTA_OK(attribute, left);
         attribute = RTA_NEXT(attribute, left)) {
        const auto* data = static_cast<const char*>(RTA_DATA(attribute));
        const auto size = static_cast<std::size_t>(RTA_PAYLOAD(attribute));
        if (attribute->rta_type == UNIX_DIAG_NAME) {
            socket.name.assign(data, strnlen(data, size)); // a path comes with its NUL
        } else if (attribute->rta_type == UNIX_DIAG_PEER && size >= sizeof(std::uint32_t)) {
            std::uint32_t peer = 0;
            std::memcpy(&peer, data, sizeof peer);
            socket.peer = peer;
        } else if (attribute->rta_type == UNIX_DIAG_RQLEN && size >= sizeof(unix_diag_rqlen)) {
            unix_diag_rqlen lengths{};
            std::memcpy(&lengths, data, sizeof lengths);
            socket.unread = lengths.udiag_rqueue;
        }
    }
    return socket;
}

// Every connected Unix stream socket of this network namespace; empty when the kernel does not tell.
std::vector<DiagSocket> ConnectedSockets() {
    const int link = socket(AF_NETLINK, SOCK_DGRAM | SOCK_CLOEXEC, NETLINK_SOCK_DIAG);
    if (link < 0) {
        return {};
    }
    struct {
        nlmsghdr header;
        unix_diag_req request;
    } ask{};
    ask.header.nlmsg_len = sizeof ask;
    ask.header.nlmsg_type = SOCK_DIAG_BY_FAMILY;
    ask.header.nlmsg_flags = NLM_F_REQUEST | NLM_F_DUMP;
    ask.request.sdiag_family = AF_UNIX;
    ask.request.udiag_states = 1U << TCP_ESTABLISHED;
    ask.request.udiag_show = UDIAG_SHOW_NAME | UDIAG_SHOW_PEER | UDIAG_SHOW_RQLEN;
    std::vector<DiagSocket> sockets;
    if (send(link, &ask, sizeof ask, 0) == static_cast<ssize_t>(sizeof ask)) {
        alignas(nlmsghdr) std::array<char, 32768> buffer{};
        for (bool done = false; !done;) {
            ssize_t length = recv(link, buffer.data(), buffer.size(), 0);
            if (length <= 0) {
                sockets.clear();
                break;
            }
            for (auto* header = reinterpret_cast<nlmsghdr*>(buffer.data()); NLMSG_OK(header, length);
                 header = NLMSG_NEXT(header, length)) {
                if (header->nlmsg_type == NLMSG_DONE || header->nlmsg_type == NLMSG_ERROR) {
                    done = true;
                    break;
                }
                sockets.push_back(ParseSocket(header));
            }
        }
    }
    close(link);
    return sockets;
}

} // namespace

ClientBacklog::ClientBacklog(std::string socketPath, std::uint64_t ownSocket)
    : m_socketPath(std::move(socketPath)), m_ownSocket(ownSocket) {}

std::string ClientBacklog::SocketPathOfEnvironment() {
    const char* display = std::getenv("WAYLAND_DISPLAY");
    const std::string name = display != nullptr && *display != '\0' ? display : "wayland-0";
    if (name.front() == '/') {
        return name;
    }
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    return runtime != nullptr && *runtime != '\0' ? std::string(runtime) + '/' + name : std::string();
}

std::uint64_t ClientBacklog::InodeOf(int descriptor) {
    struct stat status {};
    return fstat(descriptor, &status) == 0 && S_ISSOCK(status.st_mode) ? status.st_ino : 0;
}

void ClientBacklog::Begin() {
    m_start = Unread();
}

std::size_t ClientBacklog::Largest() {
    std::size_t largest = 0;
    for (const auto& [client, unread] : Unread()) {
        const auto start = m_start.find(client);
        const std::size_t before = start != m_start.end() ? start->second : 0;
        largest = std::max(largest, unread > before ? unread - before : 0);
    }
    return largest;
}

std::unordered_map<std::uint64_t, std::size_t> ClientBacklog::Unread() const {
    std::unordered_map<std::uint64_t, std::size_t> clients;
    if (m_socketPath.empty()) {
        return clients;
    }
    const std::vector<DiagSocket> sockets = ConnectedSockets();
    for (const DiagSocket& socket : sockets) {
        if (socket.name == m_socketPath && socket.peer != m_ownSocket) {
            clients.emplace(socket.peer, 0);
        }
    }
    for (const DiagSocket& socket : sockets) {
        if (const auto client = clients.find(socket.inode); client != clients.end()) {
            client->second = socket.unread;
        }
    }
    return clients;
}

} // namespace klt::wayland
