#include "platform/wayland/SwayHotKey.h"

#include "framework/WinKeys.h"
#include "support/TempFolder.h"

#include <cstring>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

using klt::wayland::SwayHotKey;

namespace {

// The compositor's IPC socket: records each command and answers with the next reply.
class FakeSway {
public:
    FakeSway(const std::string& path, std::vector<std::string> replies, std::vector<std::string>& commands)
        : m_replies(std::move(replies)), m_commands(commands) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        std::strncpy(address.sun_path, path.c_str(), sizeof address.sun_path - 1);
        m_fd = socket(AF_UNIX, SOCK_STREAM, 0);
        EXPECT_EQ(bind(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        EXPECT_EQ(listen(m_fd, 4), 0);
        m_thread = std::thread([this] { Serve(); });
    }
    ~FakeSway() {
        shutdown(m_fd, SHUT_RDWR);
        m_thread.join();
        close(m_fd);
    }

private:
    void Serve() {
        for (const std::string& reply : m_replies) {
            const int client = accept(m_fd, nullptr, nullptr);
            if (client < 0) {
                return;
            }
            char header[14];
            std::uint32_t length = 0;
            if (recv(client, header, sizeof header, MSG_WAITALL) == sizeof header) {
                std::memcpy(&length, header + 6, 4);
                std::string command(length, '\0');
                recv(client, command.data(), length, MSG_WAITALL);
                m_commands.push_back(std::string(header, 6) + " " + command);
                const auto size = static_cast<std::uint32_t>(reply.size());
                std::memcpy(header + 6, &size, 4);
                send(client, header, sizeof header, 0);
                send(client, reply.data(), reply.size(), 0);
            }
            close(client);
        }
    }
    std::vector<std::string> m_replies;
    std::vector<std::string>& m_commands;
    int m_fd = -1;
    std::thread m_thread;
};

TEST(SwayHotKey, CombinationsUseTheCompositorsModifierAndKeyNames) {
    const struct {
        unsigned modifiers, key;
        const char* name;
    } cases[] = {
        {MOD_ALT, VK_INSERT, "Mod1+Insert"},
        {MOD_CONTROL | MOD_SHIFT, 'K', "Ctrl+Shift+k"},
        {MOD_ALT, VK_F1 + 11, "Mod1+F12"},
        {MOD_ALT, 0xFF, ""}, // no such key
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SwayHotKey::CombinationName(c.modifiers, c.key), c.name);
    }
}

TEST(SwayHotKey, BindsThePasteCommandAndUnbindsItAgainUnlessTheCompositorRefused) {
    klt::testing::TempFolder folder;
    const std::string socket = (folder.Path() / "sway.sock").string();
    const std::string ok = R"([ { "success": true } ])",
                      refused = R"([ { "success": false, "error": "x" } ])";
    std::vector<std::string> commands;
    {
        FakeSway sway(socket, {ok, ok, refused}, commands);
        SwayHotKey hotKey(socket, "'/opt/my app/keyloft' --paste");
        EXPECT_TRUE(hotKey.Register(MOD_ALT, VK_INSERT));
        EXPECT_TRUE(hotKey.Unregister());
        EXPECT_FALSE(hotKey.Register(MOD_CONTROL, 'K'));
        EXPECT_TRUE(hotKey.Unregister());            // nothing was bound
        EXPECT_FALSE(hotKey.Register(0, VK_INSERT)); // a bare key is never bound
    }
    EXPECT_EQ(commands, (std::vector<std::string>{
                            "i3-ipc bindsym --no-repeat Mod1+Insert \"exec '/opt/my app/keyloft' --paste\"",
                            "i3-ipc unbindsym Mod1+Insert",
                            "i3-ipc bindsym --no-repeat Ctrl+k \"exec '/opt/my app/keyloft' --paste\"",
                        }));
    EXPECT_FALSE(SwayHotKey(socket, "x").Register(MOD_ALT, VK_INSERT)); // nobody listens any more
}

} // namespace
