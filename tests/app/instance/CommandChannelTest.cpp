// The channel through which a second start reaches the first instance's main window.

#include "app/instance/CommandChannel.h"

#include "app/instance/CommandServer.h"
#include "app/instance/InstanceLock.h"
#include "framework/Wnd.h"
#include "res/resource.h"
#include "support/WaitUntil.h"

#include <QEventLoop>
#include <QTimer>
#include <atomic>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <thread>
#include <unistd.h>

using klt::ChannelMessage;

namespace {

// A main window that records the messages it gets.
class RecordingWindow : public CWnd {
public:
    RecordingWindow() { Attach(&m_widget); }
    ~RecordingWindow() override { Detach(); }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        m_received.push_back({static_cast<uint32_t>(GetSafeHwnd()),
                              message,
                              static_cast<uint32_t>(wParam),
                              static_cast<uint32_t>(lParam),
                              {}});
        if (m_onMessage) {
            m_onMessage();
        }
        return 7;
    }
    uint32_t Id() const { return static_cast<uint32_t>(GetSafeHwnd()); }

    QWidget m_widget;
    std::vector<ChannelMessage> m_received;
    std::function<void()> m_onMessage;
};

// A socket connected to a channel, as any program of the user could make one.
class RawClient {
public:
    explicit RawClient(uint32_t window) : m_fd(socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0)) {
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        const std::string path = klt::ChannelPath(window);
        path.copy(address.sun_path, sizeof address.sun_path - 1);
        m_bConnected = connect(m_fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    }
    ~RawClient() { close(m_fd); }
    bool Connected() const { return m_bConnected; }
    void Send(const std::string& bytes) { send(m_fd, bytes.data(), bytes.size(), MSG_NOSIGNAL); }
    void FinishSending() { shutdown(m_fd, SHUT_WR); }
    // Everything the other end sends until it closes the connection.
    std::string ReceiveUntilClosed() {
        std::string received;
        char buffer[64];
        ssize_t n = 0;
        while ((n = recv(m_fd, buffer, sizeof buffer, 0)) > 0) {
            received.append(buffer, static_cast<size_t>(n));
        }
        return received;
    }

private:
    int m_fd;
    bool m_bConnected = false;
};

class CommandChannelTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_pServer = std::make_unique<klt::CommandServer>(&m_window, [this](const std::string& file) {
            m_window.m_received.push_back({0, 0, 0, 0, file}); // recorded just before its message
        });
        ASSERT_TRUE(m_pServer->Listen());
    }

    // Runs work on another thread, as another process would, while this thread serves the channel.
    void OnOtherThread(const std::function<void()>& work) {
        QEventLoop loop;
        std::atomic<bool> bDone = false;
        std::thread other([&] {
            work();
            bDone = true;
            QMetaObject::invokeMethod(
                &loop, [&loop] { loop.quit(); }, Qt::QueuedConnection);
        });
        QTimer::singleShot(20000, &loop, &QEventLoop::quit);
        loop.exec();
        if (!bDone) {
            ADD_FAILURE() << "no answer in time";
            m_pServer.reset(); // drops every connection, so the other thread ends
        }
        other.join();
    }

    std::optional<int32_t> Send(const ChannelMessage& message) {
        std::optional<int32_t> answer;
        OnOtherThread([&] {
            int32_t result = 0;
            if (klt::SendChannelMessage(message, result)) {
                answer = result;
            }
        });
        return answer;
    }

    ChannelMessage Configure() const { return {m_window.Id(), WM_COMMAND, ID_TRAY_CONFIGURE, 0, {}}; }

    RecordingWindow m_window;
    std::unique_ptr<klt::CommandServer> m_pServer;
};

} // namespace

TEST(ChannelMessage, EncodedLittleEndianAfterTheMagicAndDecodedOnlyWhenWhole) {
    const ChannelMessage message{0x01020304, WM_COMMAND, ID_TRAY_CONFIGURE, 0, "/srv/a b.klt"};
    const std::string bytes = klt::EncodeChannelMessage(message);
    ASSERT_EQ(bytes.size(), klt::kChannelHeaderSize + 12);
    EXPECT_EQ(bytes.substr(0, 8), std::string("KLT1\x04\x03\x02\x01", 8));
    EXPECT_EQ(bytes.substr(20), std::string("\x0C\0\0\0/srv/a b.klt", 16));
    const auto decoded = klt::DecodeChannelMessage(bytes);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->window, message.window);
    EXPECT_EQ(decoded->wParam, 32790u);
    EXPECT_EQ(decoded->file, message.file);

    EXPECT_FALSE(klt::DecodeChannelMessage(bytes.substr(0, bytes.size() - 1)));
    EXPECT_FALSE(klt::DecodeChannelMessage(bytes + '\0'));
    EXPECT_FALSE(klt::DecodeChannelMessage("KLT2" + bytes.substr(4)));
    const std::string tooLong =
        klt::EncodeChannelMessage({1, 2, 3, 4, std::string(klt::kMaxChannelFile + 1, 'x')});
    EXPECT_EQ(klt::ChannelMessageSize(tooLong), std::nullopt);
    EXPECT_EQ(klt::EncodeChannelAnswer(-2), std::string("\xFE\xFF\xFF\xFF", 4));

    EXPECT_TRUE(klt::IsChannelName("keyloft-window-12345"));
    EXPECT_FALSE(klt::IsChannelName("keyloft-window-"));
    EXPECT_FALSE(klt::IsChannelName("keyloft-window-12x"));
    EXPECT_FALSE(klt::IsChannelName("KLT_MUTEX"));
}

TEST_F(CommandChannelTest, ConfigureIsAnsweredOnlyWhenItsHandlerHasFinished) {
    std::atomic<bool> bSenderWaiting = false;
    std::atomic<bool> bAnswered = false;
    m_window.m_onMessage = [&] {
        // The sender is still waiting while the handler runs (a password question, say).
        bSenderWaiting = !bAnswered;
    };
    std::optional<int32_t> answer;
    OnOtherThread([&] {
        int32_t result = 0;
        if (klt::SendChannelMessage(Configure(), result)) {
            answer = result;
        }
        bAnswered = true;
    });
    ASSERT_EQ(answer, 7);
    EXPECT_TRUE(bSenderWaiting);
    ASSERT_EQ(m_window.m_received.size(), 1u);
    EXPECT_EQ(m_window.m_received[0].message, WM_COMMAND);
    EXPECT_EQ(m_window.m_received[0].wParam, ID_TRAY_CONFIGURE);
}

TEST_F(CommandChannelTest, MalformedOrForeignMessagesChangeNothingAndBlockNobody) {
    RawClient silent(m_window.Id()); // connects and never says anything
    ASSERT_TRUE(silent.Connected());

    const std::string whole = klt::EncodeChannelMessage(Configure());
    for (const std::string& bytes : {std::string("hello"), whole + "more", "KLT0" + whole.substr(4)}) {
        std::string received = "none";
        OnOtherThread([&] {
            RawClient client(m_window.Id());
            client.Send(bytes);
            client.FinishSending();
            received = client.ReceiveUntilClosed();
        });
        EXPECT_EQ(received, "");
    }
    EXPECT_EQ(Send({m_window.Id() + 1, WM_COMMAND, ID_TRAY_CONFIGURE, 0, {}}), std::nullopt);
    EXPECT_EQ(Send({m_window.Id(), WM_COMMAND, ID_TRAY_EXIT, 0, {}}), std::nullopt);
    EXPECT_EQ(Send({m_window.Id(), WM_COMMAND, ID_TRAY_CONFIGURE | 0x10000u, 0, {}}), std::nullopt);
    EXPECT_EQ(Send({m_window.Id(), WM_COMMAND, ID_TRAY_CONFIGURE, 1, {}}), std::nullopt);
    EXPECT_EQ(Send({m_window.Id(), WM_CLOSE, 0, 0, {}}), std::nullopt);
    EXPECT_TRUE(m_window.m_received.empty());

    // The silent connection is still open and holds up nobody.
    EXPECT_EQ(Send(Configure()), 7);
    EXPECT_EQ(m_window.m_received.size(), 1u);
}

TEST_F(CommandChannelTest, StartsMadeAtOnceEachHandOverTheirOwnFileBeforeTheirMessage) {
    constexpr int kStarts = 8;
    std::atomic<int> nAnswered = 0;
    OnOtherThread([&] {
        std::vector<std::jthread> starts; // all joined when the work is done
        for (int i = 0; i < kStarts; ++i) {
            starts.emplace_back([&, i] {
                int32_t result = 0;
                ChannelMessage message = Configure();
                message.file = "/files/" + std::to_string(i) + ".klt";
                nAnswered += klt::SendChannelMessage(message, result) ? 1 : 0;
            });
        }
    });
    EXPECT_EQ(nAnswered, kStarts);
    ASSERT_EQ(m_window.m_received.size(), 2u * kStarts);
    std::set<std::string> files;
    for (size_t i = 0; i < m_window.m_received.size(); i += 2) {
        files.insert(m_window.m_received[i].file);
        EXPECT_EQ(m_window.m_received[i + 1].wParam, ID_TRAY_CONFIGURE);
    }
    EXPECT_EQ(files.size(), static_cast<size_t>(kStarts));
    // A paste names no file.
    EXPECT_EQ(Send({m_window.Id(), WM_HOTKEY, 0, 0, "/files/0.klt"}), std::nullopt);
}

TEST_F(CommandChannelTest, StaleWindowIdReachesNobody) {
    EXPECT_EQ(Send({0, WM_COMMAND, ID_TRAY_CONFIGURE, 0, {}}), std::nullopt);
    EXPECT_EQ(Send({m_window.Id() + 2, WM_COMMAND, ID_TRAY_CONFIGURE, 0, {}}), std::nullopt);

    // The channel of an instance that crashed: its socket file is left, nobody listens on it.
    const uint32_t dead = m_window.Id() + 3;
    {
        const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
        sockaddr_un address{};
        address.sun_family = AF_UNIX;
        klt::ChannelPath(dead).copy(address.sun_path, sizeof address.sun_path - 1);
        ASSERT_EQ(bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        close(fd);
    }
    ASSERT_TRUE(std::filesystem::exists(klt::ChannelPath(dead)));
    EXPECT_EQ(Send({dead, WM_COMMAND, ID_TRAY_CONFIGURE, 0, {}}), std::nullopt);
    EXPECT_TRUE(m_window.m_received.empty());

    // The next first instance clears such leftovers away.
    RecordingWindow other;
    klt::CommandServer next(&other);
    ASSERT_TRUE(next.Listen());
    EXPECT_FALSE(std::filesystem::exists(klt::ChannelPath(dead)));
    EXPECT_TRUE(std::filesystem::exists(klt::ChannelPath(other.Id())));
}

TEST_F(CommandChannelTest, ChannelComesBackWhenItsServerHasClosed) {
#if defined(__SANITIZE_ADDRESS__)
    // UBSan's type checks open descriptors of their own, and this test leaves none free.
    GTEST_SKIP() << "needs a build without the sanitizers";
#endif
    const std::string path = klt::ChannelPath(m_window.Id());
    const auto waitFor = [&path](bool bPresent) {
        return klt::test::WaitUntil([&] { return std::filesystem::exists(path) == bPresent; });
    };
    // A connection that cannot be accepted for want of file descriptors closes the server for good.
    RawClient waiting(m_window.Id());
    ASSERT_TRUE(waiting.Connected());
    rlimit old{};
    getrlimit(RLIMIT_NOFILE, &old);
    const int nLowestFree = dup(0);
    close(nLowestFree);
    const rlimit none{static_cast<rlim_t>(nLowestFree), old.rlim_max};
    setrlimit(RLIMIT_NOFILE, &none);
    const bool bClosed = waitFor(false);
    setrlimit(RLIMIT_NOFILE, &old);
    ASSERT_TRUE(bClosed);
    ASSERT_TRUE(waitFor(true));
    EXPECT_EQ(Send(Configure()), 7);
}
