#include "support/X11TestDisplay.h"

#include "platform/x11/X11Properties.h"

#include <QProcess>
#include <X11/XKBlib.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <poll.h>
#include <stdexcept>
#include <vector>

namespace klt::test {

namespace {

using Clock = std::chrono::steady_clock;

int IgnoreErrors(Display*, XErrorEvent*) {
    return 0;
}

Window FindViewable(Display* display, Window window, const std::string& title, int depth) {
    XWindowAttributes attributes;
    if (depth > 0 && XGetWindowAttributes(display, window, &attributes) &&
        attributes.map_state == IsViewable && x11::WindowTitle(display, window) == title) {
        return window;
    }
    if (depth == 3) {
        return None;
    }
    Window root = None, parent = None, *children = nullptr;
    unsigned count = 0;
    if (!XQueryTree(display, window, &root, &parent, &children, &count)) {
        return None;
    }
    Window found = None;
    for (unsigned i = 0; i < count && found == None; ++i) {
        found = FindViewable(display, children[i], title, depth + 1);
    }
    if (children) {
        XFree(children);
    }
    return found;
}

} // namespace

X11TestDisplay::X11TestDisplay() : m_display(XOpenDisplay(nullptr)) {
    if (!m_display) {
        throw std::runtime_error("no X display; run the X11 tests through with-xvfb");
    }
    // Windows may go away while the tests look at them.
    XSetErrorHandler(IgnoreErrors);
    XSelectInput(m_display, DefaultRootWindow(m_display), SubstructureNotifyMask | PropertyChangeMask);
}

X11TestDisplay::~X11TestDisplay() {
    XCloseDisplay(m_display);
}

bool X11TestDisplay::SetLayout(const std::string& layouts) {
    QProcess process;
    process.start("setxkbmap", {"-layout", QString::fromStdString(layouts)});
    return process.waitForFinished(static_cast<int>(kBound.count())) && process.exitCode() == 0;
}

void X11TestDisplay::SetCapsLock(bool on) {
    XkbLockModifiers(m_display, XkbUseCoreKbd, LockMask, on ? LockMask : 0);
    XSync(m_display, False);
}

void X11TestDisplay::SetNumLock(bool on) {
    const unsigned mask = XkbKeysymToModifiers(m_display, XK_Num_Lock);
    XkbLockModifiers(m_display, XkbUseCoreKbd, mask, on ? mask : 0);
    XSync(m_display, False);
}

void X11TestDisplay::LockGroup(int group) {
    XkbLockGroup(m_display, XkbUseCoreKbd, group);
    XSync(m_display, False);
}

WindowId X11TestDisplay::WaitForWindow(const std::string& title, const std::function<void()>& whileWaiting) {
    const auto deadline = Clock::now() + kBound;
    while (true) {
        if (Window found = FindViewable(m_display, DefaultRootWindow(m_display), title, 0)) {
            return found;
        }
        if (Clock::now() >= deadline) {
            return 0;
        }
        // Maps, reparentings and title changes all arrive as events; look again after each burst.
        if (whileWaiting) {
            whileWaiting();
        }
        pollfd fd{ConnectionNumber(m_display), POLLIN, 0};
        poll(&fd, 1, whileWaiting ? 10 : 100);
        while (XPending(m_display)) {
            XEvent event;
            XNextEvent(m_display, &event);
        }
    }
}

WindowId X11TestDisplay::FocusWindow() {
    Window focus = None;
    int revert = 0;
    XGetInputFocus(m_display, &focus, &revert);
    return focus;
}

bool X11TestDisplay::HasWindowManager() {
    return klt::x11::ListProperty(m_display, DefaultRootWindow(m_display),
                                  XInternAtom(m_display, "_NET_SUPPORTING_WM_CHECK", False), XA_WINDOW)
               .size() == 1;
}

void X11TestDisplay::SetKey(unsigned long keysym, bool down) {
    XTestFakeKeyEvent(m_display, XKeysymToKeycode(m_display, keysym), down, CurrentTime);
    XSync(m_display, False);
}

void X11TestDisplay::Tap(unsigned long keysym, std::initializer_list<unsigned long> modifiers) {
    for (unsigned long modifier : modifiers) {
        XTestFakeKeyEvent(m_display, XKeysymToKeycode(m_display, modifier), True, CurrentTime);
    }
    const KeyCode key = XKeysymToKeycode(m_display, keysym);
    XTestFakeKeyEvent(m_display, key, True, CurrentTime);
    XTestFakeKeyEvent(m_display, key, False, CurrentTime);
    for (unsigned long modifier : modifiers) {
        XTestFakeKeyEvent(m_display, XKeysymToKeycode(m_display, modifier), False, CurrentTime);
    }
    XSync(m_display, False);
}

unsigned long X11TestDisplay::KeysymOf(unsigned key) {
    XkbDescPtr xkb = XkbGetMap(m_display, XkbKeySymsMask | XkbKeyTypesMask, XkbUseCoreKbd);
    const KeySym keysym = xkb && XkbKeyNumGroups(xkb, key) > 0 ? XkbKeySymEntry(xkb, key, 0, 0) : NoSymbol;
    if (xkb) {
        XkbFreeKeyboard(xkb, 0, True);
    }
    return keysym;
}

bool X11TestDisplay::GrabKey(unsigned long keysym, unsigned modifierMask) {
    static bool refused;
    refused = false;
    auto previous = XSetErrorHandler([](::Display*, XErrorEvent* error) {
        refused = refused || error->error_code == BadAccess;
        return 0;
    });
    XGrabKey(m_display, XKeysymToKeycode(m_display, keysym), modifierMask, DefaultRootWindow(m_display),
             False, GrabModeAsync, GrabModeAsync);
    XSync(m_display, False);
    XSetErrorHandler(previous);
    return !refused;
}

} // namespace klt::test
