#include "e2e/Desktop.h"

#include "platform/x11/X11Properties.h"
#include "support/X11TestDisplay.h"

#include <QProcess>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <algorithm>
#include <poll.h>
#include <stdexcept>

namespace klt::e2e {
namespace {

using Clock = std::chrono::steady_clock;

int IgnoreErrors(Display*, XErrorEvent*) {
    return 0;
}

bool HasClass(Display* display, Window window, const std::string& name) {
    XClassHint hint{};
    if (XGetClassHint(display, window, &hint) == 0) {
        return false;
    }
    const bool bMatch = (hint.res_name != nullptr && name == hint.res_name);
    XFree(hint.res_name);
    XFree(hint.res_class);
    return bMatch;
}

// Client windows sit below the root, or below the window manager's frames.
template <class Visit> void ForEachClient(Display* display, Window window, int depth, const Visit& visit) {
    Window root = None, parent = None, *children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display, window, &root, &parent, &children, &count) == 0) {
        return;
    }
    for (unsigned i = 0; i < count; ++i) {
        visit(children[i]);
        if (depth < 2) {
            ForEachClient(display, children[i], depth + 1, visit);
        }
    }
    if (children != nullptr) {
        XFree(children);
    }
}

void RunXdotool(const QStringList& args) {
    QProcess xdotool;
    xdotool.start(QStringLiteral("xdotool"), args);
    if (!xdotool.waitForFinished(static_cast<int>(kBound.count()))) {
        xdotool.kill();
        xdotool.waitForFinished();
    }
}

} // namespace

Desktop::Desktop() : m_display(XOpenDisplay(nullptr)) {
    if (m_display == nullptr) {
        throw std::runtime_error("no X display; run the program tests through with-xvfb");
    }
    XSetErrorHandler(IgnoreErrors); // windows may go away while the tests look at them
    XSelectInput(m_display, DefaultRootWindow(m_display), SubstructureNotifyMask | PropertyChangeMask);
}

Desktop::~Desktop() {
    XCloseDisplay(m_display);
}

bool Desktop::WaitForEvents(Clock::time_point deadline) {
    const auto now = Clock::now();
    if (now >= deadline) {
        return false;
    }
    // Title changes of client windows are not reported to the root: look again at least every 100 ms.
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - now);
    pollfd fd{ConnectionNumber(m_display), POLLIN, 0};
    poll(&fd, 1, static_cast<int>(std::min<long>(left.count(), 100)));
    while (XPending(m_display) != 0) {
        XEvent event;
        XNextEvent(m_display, &event);
    }
    return true;
}

bool Desktop::IsShown(Window window) {
    XWindowAttributes attributes{};
    return XGetWindowAttributes(m_display, window, &attributes) != 0 && attributes.map_state == IsViewable;
}

bool Desktop::IsIconic(Window window) {
    const Atom state = XInternAtom(m_display, "WM_STATE", False);
    Atom type = None;
    int format = 0;
    unsigned long count = 0, rest = 0;
    unsigned char* data = nullptr;
    const bool bIconic = XGetWindowProperty(m_display, window, state, 0, 1, False, state, &type, &format,
                                            &count, &rest, &data) == Success &&
                         data != nullptr && count == 1 && *reinterpret_cast<long*>(data) == IconicState;
    if (data != nullptr) {
        XFree(data);
    }
    return bIconic;
}

Window Desktop::WaitForWindow(const std::string& title) {
    const auto deadline = Clock::now() + kBound;
    do {
        Window found = 0;
        ForEachClient(m_display, DefaultRootWindow(m_display), 0, [&](Window window) {
            if (found == 0 && IsShown(window) && klt::x11::WindowTitle(m_display, window) == title) {
                found = window;
            }
        });
        if (found != 0) {
            return found;
        }
    } while (WaitForEvents(deadline));
    return 0;
}

Window Desktop::WaitForActiveWindow(const std::string& title) {
    const Window window = WaitForWindow(title);
    return window != 0 && WaitUntilActive(window) ? window : 0;
}

bool Desktop::WaitUntilHidden(Window window) {
    const auto deadline = Clock::now() + kBound;
    do {
        if (!IsShown(window)) {
            return true;
        }
    } while (WaitForEvents(deadline));
    return false;
}

std::vector<Window> Desktop::ProgramWindows() {
    std::vector<Window> windows;
    ForEachClient(m_display, DefaultRootWindow(m_display), 0, [&](Window window) {
        if (IsShown(window) && HasClass(m_display, window, "keyloft")) {
            windows.push_back(window);
        }
    });
    return windows;
}

Window Desktop::WaitForProgramWindowBesides(const std::vector<Window>& known) {
    const auto deadline = Clock::now() + kBound;
    do {
        for (const Window window : ProgramWindows()) {
            if (std::find(known.begin(), known.end(), window) == known.end()) {
                return window;
            }
        }
    } while (WaitForEvents(deadline));
    return 0;
}

Window Desktop::ActiveWindow() {
    const auto active =
        klt::x11::ListProperty(m_display, DefaultRootWindow(m_display),
                               XInternAtom(m_display, "_NET_ACTIVE_WINDOW", False), XA_WINDOW);
    return active.size() == 1 ? active[0] : 0;
}

bool Desktop::WaitUntilActive(Window window) {
    const auto deadline = Clock::now() + kBound;
    do {
        if (ActiveWindow() == window) {
            return true;
        }
    } while (WaitForEvents(deadline));
    return false;
}

void Desktop::Key(const std::string& keys) {
    RunXdotool({"key", "--clearmodifiers", QString::fromStdString(keys)});
}

void Desktop::Type(const std::string& text) {
    RunXdotool({"type", "--delay", "20", QString::fromStdString(text)});
}

void Desktop::Minimize(Window window) {
    RunXdotool({"windowminimize", "--sync", QString::number(window)});
}

void Desktop::Close(Window window) {
    XEvent event{};
    event.xclient.type = ClientMessage;
    event.xclient.window = window;
    event.xclient.message_type = XInternAtom(m_display, "_NET_CLOSE_WINDOW", False);
    event.xclient.format = 32;
    event.xclient.data.l[0] = CurrentTime;
    event.xclient.data.l[1] = 2; // from a pager or the like: the user's own request
    XSendEvent(m_display, DefaultRootWindow(m_display), False,
               SubstructureRedirectMask | SubstructureNotifyMask, &event);
    XFlush(m_display);
}

void Desktop::Activate(Window window) {
    RunXdotool({"windowactivate", "--sync", QString::number(window)});
}

} // namespace klt::e2e
