#include "CommandServer.h"

#include "CommandChannel.h"
#include "InstanceLock.h"
#include "Wnd.h"
#include "resource.h"

#include <QLocalSocket>
#include <QPointer>
#include <QTimer>
#include <filesystem>

namespace klt {
namespace {

// A sender gets this long to deliver its message once connected.
constexpr int kMessageTimeLimitMs = 5000;

bool IsAccepted(const ChannelMessage& message, uint32_t window) {
    return message.window == window && message.message == WM_COMMAND && message.wParam == ID_TRAY_CONFIGURE &&
           message.lParam == 0;
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

CommandServer::CommandServer(CWnd* pWindow)
    : m_pWindow(pWindow), m_window(static_cast<uint32_t>(pWindow->GetSafeHwnd())) {
    m_server.setSocketOptions(QLocalServer::UserAccessOption);
    connect(&m_server, &QLocalServer::newConnection, this, [this] { OnNewConnection(); });
}

CommandServer::~CommandServer() = default;

bool CommandServer::Listen() {
    const std::string path = ChannelPath(m_window);
    if (m_window == 0 || path.empty()) {
        return false;
    }
    // Only the holder of the instance lock listens, so every channel found now is a dead one.
    RemoveStaleChannels();
    return m_server.listen(QString::fromStdString(path));
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
    if (pSocket->bytesAvailable() < static_cast<qint64>(kChannelMessageSize)) {
        return; // the rest is still on its way
    }
    // One message per connection: nothing may follow it.
    const QByteArray bytes = pSocket->readAll();
    pDeadline->stop();
    disconnect(pSocket, &QLocalSocket::readyRead, this, nullptr);
    const std::optional<ChannelMessage> message =
        DecodeChannelMessage(std::string_view(bytes.data(), bytes.size()));
    if (!message || !IsAccepted(*message, m_window)) {
        pSocket->abort();
        return;
    }
    // The handler may run dialogs, in whose event loops the sender can go away.
    const QPointer<QLocalSocket> pAlive(pSocket);
    const LRESULT result = m_pWindow->SendMessage(message->message, message->wParam, message->lParam);
    if (pAlive.isNull() || pSocket->state() != QLocalSocket::ConnectedState) {
        return;
    }
    const std::string answer = EncodeChannelAnswer(static_cast<int32_t>(result));
    pSocket->write(answer.data(), static_cast<qint64>(answer.size()));
    pSocket->disconnectFromServer();
}

} // namespace klt
