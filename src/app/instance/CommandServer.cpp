#include "app/instance/CommandServer.h"

#include "app/instance/CommandChannel.h"
#include "app/instance/InstanceLock.h"
#include "framework/ModalGate.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"
#include "res/resource.h"

#include <QLocalSocket>
#include <QPointer>
#include <QTimer>
#include <filesystem>
#include <sys/stat.h>

namespace klt {
namespace {

// A sender gets this long to deliver its message once connected.
constexpr int kMessageTimeLimitMs = 5000;
// How often the channel is checked and, when it has gone, opened again.
constexpr int kWatchIntervalMs = 1000;

// A second start asks for the window to come up with its file, or for a paste, which names none.
bool IsAccepted(const ChannelMessage& message, uint32_t window) {
    const bool configure = message.message == WM_COMMAND && message.wParam == ID_TRAY_CONFIGURE;
    const bool paste = message.message == WM_HOTKEY && message.wParam == 0 && message.file.empty();
    return message.window == window && (configure || paste) && message.lParam == 0;
}

void RemoveStaleChannels() {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(RuntimeFolder(), error)) {
        if (IsChannelName(entry.path().filename().string())) {
            std::filesystem::remove(entry.path(), error);
        }
    }
}

} // namespace

CommandServer::CommandServer(CWnd* pWindow, std::function<void(const std::string&)> onFile)
    : m_window(pWindow), m_onFile(std::move(onFile)),
      m_windowId(static_cast<uint32_t>(pWindow->GetSafeHwnd())) {
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, [this] { OnNewConnection(); });
    connect(&m_watch, &QTimer::timeout, this, [this] { KeepListening(); });
}

CommandServer::~CommandServer() = default;

bool CommandServer::Listen() {
    m_path = ChannelPath(m_windowId);
    if (m_windowId == 0 || m_path.empty()) {
        return false;
    }
    m_watch.start(kWatchIntervalMs);
    // Only the holder of the instance lock listens, so every channel found now is a dead one.
    RemoveStaleChannels();
    return m_server.listen(QString::fromStdString(m_path));
}

void CommandServer::OnNewConnection() {
    while (QLocalSocket* pSocket = m_server.nextPendingConnection()) {
        if (!IsSameUserPeer(static_cast<int>(pSocket->socketDescriptor()))) {
            pSocket->abort();
            pSocket->deleteLater();
            continue;
        }
        connect(pSocket, &QLocalSocket::disconnected, pSocket, &QObject::deleteLater);
        auto* pDeadline = new QTimer(pSocket);
        pDeadline->setSingleShot(true);
        connect(pDeadline, &QTimer::timeout, pSocket, [pSocket] { pSocket->abort(); });
        pDeadline->start(kMessageTimeLimitMs);
        connect(pSocket, &QLocalSocket::readyRead, this,
                [this, pSocket, pDeadline] { OnReadyRead(pSocket, pDeadline); });
    }
}

void CommandServer::OnReadyRead(QLocalSocket* pSocket, QTimer* pDeadline) {
    const QByteArray header = pSocket->peek(kChannelHeaderSize);
    const std::optional<size_t> nSize = ChannelMessageSize(std::string_view(header.data(), header.size()));
    if (header.size() == kChannelHeaderSize && !nSize) {
        pSocket->abort();
        return;
    }
    if (!nSize || pSocket->bytesAvailable() < static_cast<qint64>(*nSize)) {
        return; // the rest is still on its way
    }
    // One message per connection: nothing may follow it.
    const QByteArray bytes = pSocket->readAll();
    pDeadline->stop();
    disconnect(pSocket, &QLocalSocket::readyRead, this, nullptr);
    const std::optional<ChannelMessage> message =
        DecodeChannelMessage(std::string_view(bytes.data(), bytes.size()));
    if (!message || !IsAccepted(*message, m_windowId)) {
        pSocket->abort();
        return;
    }
    // The command may replace the document, so it never runs inside another command's dialog; the
    // sender waits meanwhile, and its answer comes when the command has run.
    const QPointer<QLocalSocket> pAlive(pSocket);
    const QPointer<CommandServer> pServer(this);
    RunWhenNoModal([pServer, pAlive, message = *message] {
        if (pServer.isNull()) {
            return;
        }
        if (!message.file.empty() && pServer->m_onFile) {
            pServer->m_onFile(message.file);
        }
        const LRESULT result =
            pServer->m_window->SendMessage(message.message, message.wParam, message.lParam);
        // The handler may run dialogs, in whose event loops the sender can go away.
        if (pAlive.isNull() || pAlive->state() != QLocalSocket::ConnectedState) {
            return;
        }
        const std::string answer = EncodeChannelAnswer(static_cast<int32_t>(result));
        pAlive->write(answer.data(), static_cast<qint64>(answer.size()));
        pAlive->disconnectFromServer();
    });
}

void CommandServer::KeepListening() {
    // The server closes for good when accepting a connection fails (too many open files, say), and
    // someone may remove its socket: either way a second start would reach nobody.
    struct stat st {};
    if (m_server.isListening() && ::lstat(m_path.c_str(), &st) == 0 && S_ISSOCK(st.st_mode)) {
        return;
    }
    m_server.close();
    Listen();
}

} // namespace klt
