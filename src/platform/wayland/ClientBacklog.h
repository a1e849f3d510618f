#pragma once
// How far the compositor's clients have fallen behind in reading what it sends them, in bytes: what
// waits unread in each client's end of its connection, beyond what already waited when the count
// began. The kernel reports it for every socket of the machine; the clients' ends are the peers of the
// compositor's ends, which carry the name of its listening socket.
// A compositor disconnects a client whose connection fills up, so keys sent faster than the focused
// client reads them would end it.

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>

namespace klt::wayland {

class ClientBacklog {
public:
    // socketPath: the compositor's listening socket. ownSocket: this program's end of its own
    // connection (its inode), which is left out.
    ClientBacklog(std::string socketPath, std::uint64_t ownSocket);

    // The path of $WAYLAND_DISPLAY's socket: the name itself when it is absolute, otherwise in
    // $XDG_RUNTIME_DIR. Empty when neither tells.
    static std::string SocketPathOfEnvironment();
    // The inode of a socket's descriptor; 0 when it has none.
    static std::uint64_t InodeOf(int descriptor);

    // What waits unread now becomes the zero of every client.
    void Begin();
    // The largest growth of unread bytes of one client since Begin(); 0 when the kernel does not tell.
    std::size_t Largest();

private:
    // Every client's end with its unread bytes; empty when the kernel does not tell.
    std::unordered_map<std::uint64_t, std::size_t> Unread() const;

    std::string m_socketPath;
    std::uint64_t m_ownSocket;
    std::unordered_map<std::uint64_t, std::size_t> m_start;
};

} // namespace klt::wayland
