#pragma once
// The first instance's end of its main window's channel (see CommandChannel.h). It takes the
// Configure command with its file, and the paste, and nothing else, from processes of the same user. A
// message that is malformed, meant for another window or another command, or that does not arrive in time is
// dropped without effect; no connection can hold up the others. An accepted message waits while a
// modal dialog is open (klt::RunWhenNoModal), and its sender with it.

#include <QLocalServer>
#include <QObject>
#include <QTimer>
#include <cstdint>
#include <functional>
#include <string>

class CWnd;
class QLocalSocket;

namespace klt {

class CommandServer : public QObject {
public:
    // Messages that are accepted go to pWindow through its SendMessage; the file a message carries
    // goes to onFile just before, when the message's turn has come.
    explicit CommandServer(CWnd* pWindow, std::function<void(const std::string&)> onFile = {});
    ~CommandServer() override;

    // Removes the channels that ended instances left behind and listens on the window's channel,
    // checking it from then on and listening again whenever it has gone. False when there is no
    // channel to be had now: a second instance then reaches nobody.
    bool Listen();

private:
    void OnNewConnection();
    void OnReadyRead(QLocalSocket* pSocket, QTimer* pDeadline);
    void KeepListening();

    CWnd* m_window;
    std::function<void(const std::string&)> m_onFile;
    uint32_t m_windowId;
    std::string m_path;
    QLocalServer m_server;
    QTimer m_watch;
};

} // namespace klt
