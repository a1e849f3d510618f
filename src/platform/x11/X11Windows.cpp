#include "platform/x11/X11Windows.h"

#include "platform/x11/X11Connection.h"
#include "platform/x11/X11Properties.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <algorithm>
#include <vector>

namespace klt::x11 {

namespace {

using Clock = std::chrono::steady_clock;
constexpr std::chrono::milliseconds kPollInterval{50};

} // namespace

X11Windows::X11Windows(Connection& connection) : m_connection(connection) {
    // The root's property changes stay selected for the life of the service: they tell of a new
    // active window and wake the wait for an activation.
    XSelectInput(connection.Display(), connection.Root(), PropertyChangeMask);
    connection.AddListener([this](const XEvent& event) {
        if (event.type == PropertyNotify && event.xproperty.window == m_connection.Root() &&
            event.xproperty.atom == m_connection.Atom("_NET_ACTIVE_WINDOW") && m_activeWindowChanged) {
            m_activeWindowChanged(ActiveWindowProperty());
        }
    });
}

void X11Windows::SetActiveWindowCallback(std::function<void(WindowId)> callback) {
    m_activeWindowChanged = std::move(callback);
}

bool X11Windows::HasEwmhManager() {
    Display* display = m_connection.Display();
    const Atom check = m_connection.Atom("_NET_SUPPORTING_WM_CHECK");
    const auto rootCheck = ListProperty(display, m_connection.Root(), check, XA_WINDOW);
    if (rootCheck.size() != 1) {
        return false;
    }
    // A manager that died leaves a stale property behind; its child window then no longer echoes it.
    const auto childCheck = ListProperty(display, rootCheck[0], check, XA_WINDOW);
    if (childCheck.size() != 1 || childCheck[0] != rootCheck[0]) {
        return false;
    }
    const auto supported =
        ListProperty(display, m_connection.Root(), m_connection.Atom("_NET_SUPPORTED"), XA_ATOM);
    return std::find(supported.begin(), supported.end(), m_connection.Atom("_NET_ACTIVE_WINDOW")) !=
           supported.end();
}

WindowId X11Windows::ActiveWindowProperty() {
    const auto active = ListProperty(m_connection.Display(), m_connection.Root(),
                                     m_connection.Atom("_NET_ACTIVE_WINDOW"), XA_WINDOW);
    return active.empty() ? 0 : active[0];
}

// Without a manager the focus window, or the top-level window it lies in, is the foreground window;
// a focus that follows the pointer means the desktop.
WindowId X11Windows::FocusTopLevel() {
    Display* display = m_connection.Display();
    Window focus = None;
    int revert = 0;
    XGetInputFocus(display, &focus, &revert);
    if (focus == None) {
        return 0;
    }
    if (focus == PointerRoot) {
        return m_connection.Root();
    }
    ErrorTrap trap(display);
    Window window = focus;
    while (window != m_connection.Root()) {
        Window root = None, parent = None, *children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(display, window, &root, &parent, &children, &count)) {
            return 0;
        }
        if (children) {
            XFree(children);
        }
        if (parent == root) {
            break;
        }
        window = parent;
    }
    return window;
}

bool X11Windows::HasFocusWithin(WindowId target) {
    Window focus = None;
    int revert = 0;
    XGetInputFocus(m_connection.Display(), &focus, &revert);
    return IsWithin(focus, target);
}

bool X11Windows::IsWithin(Window window, WindowId target) {
    if (window == target) {
        return true; // asked before every key: no further round trips in the usual case
    }
    Display* display = m_connection.Display();
    ErrorTrap trap(display);
    while (window != None && window != PointerRoot) {
        if (window == target) {
            return true;
        }
        Window root = None, parent = None, *children = nullptr;
        unsigned count = 0;
        if (!XQueryTree(display, window, &root, &parent, &children, &count)) {
            return false;
        }
        if (children) {
            XFree(children);
        }
        window = parent;
    }
    return false;
}

// Appending nothing to a property of a window of our own is answered with an event that carries the
// server's time.
unsigned long X11Windows::ServerTime() {
    Display* display = m_connection.Display();
    if (m_clock == 0) {
        XSetWindowAttributes attributes{};
        attributes.event_mask = PropertyChangeMask;
        m_clock = XCreateWindow(display, m_connection.Root(), -1, -1, 1, 1, 0, CopyFromParent, InputOnly,
                                CopyFromParent, CWEventMask, &attributes);
    }
    const unsigned char nothing = 0;
    XChangeProperty(display, m_clock, m_connection.Atom("KEYLOFT_CLOCK"), XA_INTEGER, 8, PropModeAppend,
                    &nothing, 0);
    XEvent event;
    XWindowEvent(display, m_clock, PropertyChangeMask, &event);
    return event.xproperty.time;
}

WindowId X11Windows::ForegroundWindow() {
    return HasEwmhManager() ? ActiveWindowProperty() : FocusTopLevel();
}

bool X11Windows::SetForegroundWindow(WindowId window) {
    if (!IsWindow(window) || window == m_connection.Root()) {
        return false;
    }
    Display* display = m_connection.Display();
    const bool ewmh = HasEwmhManager();
    {
        ErrorTrap trap(display);
        // Focus changes wake the wait below, as the root's property changes do.
        XSelectInput(display, window, FocusChangeMask);
        if (ewmh) {
            XEvent message{};
            message.xclient.type = ClientMessage;
            message.xclient.window = window;
            message.xclient.message_type = m_connection.Atom("_NET_ACTIVE_WINDOW");
            message.xclient.format = 32;
            message.xclient.data.l[0] = 2; // asked for by the user's own tool, like a pager
            message.xclient.data.l[1] = CurrentTime;
            XSendEvent(display, m_connection.Root(), False, SubstructureRedirectMask | SubstructureNotifyMask,
                       &message);
        } else {
            XRaiseWindow(display, window);
            XSetInputFocus(display, window, RevertToPointerRoot, CurrentTime);
        }
        if (!trap.Succeeded()) {
            return false;
        }
    }
    auto done = [&] { return HasFocusWithin(window) && (!ewmh || ActiveWindowProperty() == window); };
    const auto deadline = Clock::now() + kActivationTimeout;
    bool active = done();
    while (!active && Clock::now() < deadline) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        m_connection.WaitForEvents(std::min(left, kPollInterval));
        active = done();
    }
    ErrorTrap trap(display);
    XSelectInput(display, window, NoEventMask);
    return active;
}

// The input focus decides where keys go: it must be in the window or one of its children.
bool X11Windows::HoldFocus(WindowId window) {
    Display* display = m_connection.Display();
    XGrabServer(display);
    Window focus = None;
    int revert = 0;
    XGetInputFocus(display, &focus, &revert);
    if (window == 0 || !IsWithin(focus, window)) {
        return false;
    }
    // Once per text, unless the target moves the focus itself. The time makes a later change by the
    // window manager or the user win over the one given back at the end.
    if (revert != RevertToNone) {
        m_lentFocus = focus;
        m_ownRevert = revert;
        m_lentSince = ServerTime();
        ErrorTrap trap(display);
        XSetInputFocus(display, focus, RevertToNone, m_lentSince);
    }
    return true;
}

// The server handles the keys sent meanwhile before it.
void X11Windows::LetFocusGo() {
    XUngrabServer(m_connection.Display());
    XFlush(m_connection.Display());
}

void X11Windows::EndTyping() {
    if (m_lentFocus == 0) {
        return;
    }
    Display* display = m_connection.Display();
    Window focus = None;
    int revert = 0;
    XGetInputFocus(display, &focus, &revert);
    if (focus == m_lentFocus && revert == RevertToNone) {
        ErrorTrap trap(display);
        XSetInputFocus(display, focus, m_ownRevert, m_lentSince);
    }
    m_lentFocus = 0;
}

bool X11Windows::IsWindow(WindowId window) {
    if (window == 0) {
        return false;
    }
    ErrorTrap trap(m_connection.Display());
    XWindowAttributes attributes;
    return XGetWindowAttributes(m_connection.Display(), window, &attributes) && trap.Succeeded();
}

bool X11Windows::IsDesktopOrPanel(WindowId window) {
    if (window == m_connection.Root()) {
        return true;
    }
    const auto types =
        ListProperty(m_connection.Display(), window, m_connection.Atom("_NET_WM_WINDOW_TYPE"), XA_ATOM);
    return std::any_of(types.begin(), types.end(), [this](unsigned long type) {
        return type == m_connection.Atom("_NET_WM_WINDOW_TYPE_DESKTOP") ||
               type == m_connection.Atom("_NET_WM_WINDOW_TYPE_DOCK");
    });
}

bool X11Windows::IsPanel(WindowId window) {
    const auto types =
        ListProperty(m_connection.Display(), window, m_connection.Atom("_NET_WM_WINDOW_TYPE"), XA_ATOM);
    return std::find(types.begin(), types.end(), m_connection.Atom("_NET_WM_WINDOW_TYPE_DOCK")) !=
           types.end();
}

std::string X11Windows::WindowTitle(WindowId window) {
    if (window == 0) {
        return {};
    }
    return klt::x11::WindowTitle(m_connection.Display(), window);
}

} // namespace klt::x11
