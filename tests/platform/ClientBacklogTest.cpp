// The bytes a compositor's clients leave unread, as the kernel reports them for sockets that came
// through a listening socket of the given name.
#include "platform/wayland/ClientBacklog.h"

#include "support/TempFolder.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <utility>
#include <vector>

using klt::wayland::ClientBacklog;

namespace {

// A listening socket at a path, and connections to it with both their ends.
class Listener {
public:
    explicit Listener(const std::string& path) : m_listener(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        m_address.sun_family = AF_UNIX;
        path.copy(m_address.sun_path, sizeof m_address.sun_path - 1);
        bind(m_listener, reinterpret_cast<const sockaddr*>(&m_address), sizeof m_address);
        listen(m_listener, 4);
        m_open.push_back(m_listener);
    }
    ~Listener() { std::for_each(m_open.begin(), m_open.end(), close); }
    // The client's end and the listener's end of a new connection.
    std::pair<int, int> Connect() {
        const int client = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
        connect(client, reinterpret_cast<const sockaddr*>(&m_address), sizeof m_address);
        m_open.insert(m_open.end(), {client, accept(m_listener, nullptr, nullptr)});
        return {client, m_open.back()};
    }

private:
    int m_listener;
    sockaddr_un m_address{};
    std::vector<int> m_open;
};

void Send(int descriptor, std::size_t count) {
    const std::string bytes(count, 'k');
    ASSERT_EQ(write(descriptor, bytes.data(), count), static_cast<ssize_t>(count));
}

} // namespace

TEST(ClientBacklogTest, CountsWhatTheMostBehindClientLeftUnreadSinceTheStartButOwnConnection) {
    const klt::testing::TempFolder folder;
    Listener compositor(folder.PathOf("wayland-9"));
    const auto [own, toOwn] = compositor.Connect();
    const auto [slow, toSlow] = compositor.Connect();
    const auto [quick, toQuick] = compositor.Connect();
    ClientBacklog backlog(folder.PathOf("wayland-9"), ClientBacklog::InodeOf(own));

    Send(toSlow, 100); // unread before the start
    backlog.Begin();
    EXPECT_EQ(backlog.Largest(), 0u);
    Send(toOwn, 5000);
    Send(toQuick, 20);
    Send(toSlow, 300);
    EXPECT_EQ(backlog.Largest(), 300u);
    char buffer[250];
    ASSERT_EQ(read(slow, buffer, sizeof buffer), static_cast<ssize_t>(sizeof buffer));
    EXPECT_EQ(backlog.Largest(), 50u);
    EXPECT_EQ(ClientBacklog(folder.PathOf("wayland-8"), 0).Largest(), 0u) << "another compositor's clients";
}
