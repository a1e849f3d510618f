#pragma once
// One connection to the X server, shared by the X11 services. Its events are read by the Qt event
// loop of the thread that opened it (when there is one) and handed to the services' listeners.

#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

struct _XDisplay;
union _XEvent;
class QSocketNotifier;

namespace klt::x11 {

class Connection {
public:
    // Null when the display cannot be opened.
    static std::unique_ptr<Connection> Open(const std::string& displayName);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    _XDisplay* Display() const { return m_display; }
    unsigned long Root() const { return m_root; }
    unsigned long Atom(const char* name);
    // Event codes of the keyboard extension start here.
    int XkbEventBase() const { return m_xkbEventBase; }

    using Listener = std::function<void(const _XEvent&)>;
    // Listeners see every event, in the order the server sent them. They live as long as the connection.
    void AddListener(Listener listener);
    // Hands out whatever the server has sent so far, without waiting.
    void ProcessPendingEvents();
    // Waits up to the timeout for at least one event and hands it out; false when none came.
    bool WaitForEvents(std::chrono::milliseconds timeout);

private:
    Connection(_XDisplay* display, int xkbEventBase);
    void Dispatch(_XEvent& event);

    _XDisplay* m_display;
    unsigned long m_root;
    int m_xkbEventBase;
    std::unordered_map<std::string, unsigned long> m_atoms;
    std::vector<Listener> m_listeners;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

// Catches the X errors of the requests made while it lives, so that a failed request (a window that
// has gone, a key combination another client holds) is an answer instead of the end of the program.
class ErrorTrap {
public:
    explicit ErrorTrap(_XDisplay* display);
    ~ErrorTrap();
    ErrorTrap(const ErrorTrap&) = delete;
    ErrorTrap& operator=(const ErrorTrap&) = delete;

    // Waits until the server has answered every request so far; true when none of the trapped failed.
    bool Succeeded();

private:
    friend int RecordError(_XDisplay* display, unsigned long serial, int errorCode);
    _XDisplay* m_display;
    unsigned long m_firstSerial;
    int m_errorCode = 0;
};

} // namespace klt::x11
