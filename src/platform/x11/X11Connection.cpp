#include "platform/x11/X11Connection.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QSocketNotifier>
#include <X11/XKBlib.h>
#include <X11/Xlib.h>
#include <algorithm>
#include <poll.h>

namespace klt::x11 {

int RecordError(Display* display, unsigned long serial, int errorCode);

namespace {

std::vector<ErrorTrap*> g_traps;
XErrorHandler g_previousHandler = nullptr;

int OnXError(Display* display, XErrorEvent* error) {
    if (RecordError(display, error->serial, error->error_code) != 0) {
        return 0;
    }
    return g_previousHandler ? g_previousHandler(display, error) : 0;
}

} // namespace

// Gives the error to the innermost trap on that display that was open when the request was made.
int RecordError(Display* display, unsigned long serial, int errorCode) {
    for (auto it = g_traps.rbegin(); it != g_traps.rend(); ++it) {
        ErrorTrap* trap = *it;
        if (trap->m_display == display && serial >= trap->m_firstSerial) {
            if (trap->m_errorCode == 0) {
                trap->m_errorCode = errorCode;
            }
            return 1;
        }
    }
    return 0;
}

ErrorTrap::ErrorTrap(Display* display) : m_display(display), m_firstSerial(NextRequest(display)) {
    if (g_traps.empty()) {
        g_previousHandler = XSetErrorHandler(OnXError);
    }
    g_traps.push_back(this);
}

ErrorTrap::~ErrorTrap() {
    XSync(m_display, False);
    g_traps.erase(std::find(g_traps.begin(), g_traps.end(), this));
    if (g_traps.empty()) {
        XSetErrorHandler(g_previousHandler);
    }
}

bool ErrorTrap::Succeeded() {
    XSync(m_display, False);
    return m_errorCode == 0;
}

std::unique_ptr<Connection> Connection::Open(const std::string& displayName) {
    ::Display* display = XOpenDisplay(displayName.empty() ? nullptr : displayName.c_str());
    if (!display) {
        return nullptr;
    }
    int opcode = 0, event = 0, error = 0, major = XkbMajorVersion, minor = XkbMinorVersion;
    if (!XkbQueryExtension(display, &opcode, &event, &error, &major, &minor)) {
        XCloseDisplay(display);
        return nullptr;
    }
    return std::unique_ptr<Connection>(new Connection(display, event));
}

Connection::Connection(::Display* display, int xkbEventBase)
    : m_display(display), m_root(DefaultRootWindow(display)), m_xkbEventBase(xkbEventBase) {
    if (!QCoreApplication::instance()) {
        return;
    }
    m_notifier = std::make_unique<QSocketNotifier>(ConnectionNumber(display), QSocketNotifier::Read);
    QObject::connect(m_notifier.get(), &QSocketNotifier::activated, [this] { ProcessPendingEvents(); });
    // Xlib may already have read events into its own queue while waiting for a reply; the socket
    // then stays quiet, so look at that queue whenever the loop is about to sleep.
    if (auto* dispatcher = QAbstractEventDispatcher::instance()) {
        QObject::connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, m_notifier.get(), [this] {
            if (XEventsQueued(m_display, QueuedAfterFlush) > 0) {
                ProcessPendingEvents();
            }
        });
    }
}

Connection::~Connection() {
    m_notifier.reset();
    XCloseDisplay(m_display);
}

unsigned long Connection::Atom(const char* name) {
    auto it = m_atoms.find(name);
    if (it == m_atoms.end()) {
        it = m_atoms.emplace(name, XInternAtom(m_display, name, False)).first;
    }
    return it->second;
}

void Connection::AddListener(Listener listener) {
    m_listeners.push_back(std::move(listener));
}

void Connection::ProcessPendingEvents() {
    while (XPending(m_display) > 0) {
        XEvent event;
        XNextEvent(m_display, &event);
        Dispatch(event);
    }
}

bool Connection::WaitForEvents(std::chrono::milliseconds timeout) {
    if (XPending(m_display) == 0) {
        pollfd fd{ConnectionNumber(m_display), POLLIN, 0};
        if (poll(&fd, 1, static_cast<int>(timeout.count())) <= 0 || XPending(m_display) == 0) {
            return false;
        }
    }
    ProcessPendingEvents();
    return true;
}

void Connection::Dispatch(XEvent& event) {
    if (event.type == MappingNotify) {
        XRefreshKeyboardMapping(&event.xmapping);
    }
    for (const Listener& listener : m_listeners) {
        listener(event);
    }
}

} // namespace klt::x11
