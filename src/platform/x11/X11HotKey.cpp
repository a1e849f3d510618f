#include "platform/x11/X11HotKey.h"

#include "platform/x11/X11Connection.h"
#include "platform/xkb/Keysyms.h"

#include <X11/XKBlib.h>
#include <X11/keysym.h>
#include <array>

namespace klt::x11 {

namespace {

constexpr unsigned kKnownModifiers = MOD_ALT | MOD_CONTROL | MOD_SHIFT;

// The lock combinations under which the grab must still fire.
std::array<unsigned, 4> LockVariants(unsigned numLockMask) {
    return {0u, LockMask, numLockMask, LockMask | numLockMask};
}

} // namespace

X11HotKey::X11HotKey(Connection& connection) : m_connection(connection) {
    const unsigned mask = XkbNewKeyboardNotifyMask | XkbMapNotifyMask;
    XkbSelectEvents(connection.Display(), XkbUseCoreKbd, mask, mask);
    connection.AddListener([this](const XEvent& event) {
        if (event.type == KeyPress && event.xkey.window == m_connection.Root()) {
            OnKeyPress(static_cast<int>(event.xkey.keycode));
            return;
        }
        const auto xkbType = reinterpret_cast<const XkbEvent&>(event).any.xkb_type;
        if (event.type == MappingNotify || (event.type == m_connection.XkbEventBase() &&
                                            (xkbType == XkbNewKeyboardNotify || xkbType == XkbMapNotify))) {
            OnKeymapChanged();
        }
    });
}

X11HotKey::~X11HotKey() {
    Unregister();
}

std::optional<X11HotKey::Grab> X11HotKey::Resolve() const {
    const KeySym keysym = xkb::KeysymOfVirtualKey(m_virtualKey & 0xFF);
    if (keysym == 0) {
        return std::nullopt;
    }
    Display* display = m_connection.Display();
    const int keycode = XKeysymToKeycode(display, keysym);
    if (keycode == 0) {
        return std::nullopt;
    }
    Grab grab{keycode, 0, XkbKeysymToModifiers(display, XK_Num_Lock)};
    if (m_modifiers & MOD_ALT) {
        grab.modifiers |= XkbKeysymToModifiers(display, XK_Alt_L);
    }
    if (m_modifiers & MOD_CONTROL) {
        grab.modifiers |= ControlMask;
    }
    if (m_modifiers & MOD_SHIFT) {
        grab.modifiers |= ShiftMask;
    }
    if ((m_modifiers & MOD_ALT) && !(grab.modifiers & ~(ControlMask | ShiftMask))) {
        return std::nullopt; // no modifier carries Alt on this keyboard
    }
    return grab;
}

bool X11HotKey::Take(const Grab& grab) {
    Display* display = m_connection.Display();
    ErrorTrap trap(display);
    for (unsigned locks : LockVariants(grab.numLockMask)) {
        XGrabKey(display, grab.keycode, grab.modifiers | locks, m_connection.Root(), False, GrabModeAsync,
                 GrabModeAsync);
    }
    if (trap.Succeeded()) {
        return true;
    }
    // Another client holds one of the variants: give back the ones this client did get.
    Release(grab);
    return false;
}

void X11HotKey::Release(const Grab& grab) {
    Display* display = m_connection.Display();
    ErrorTrap trap(display);
    for (unsigned locks : LockVariants(grab.numLockMask)) {
        XUngrabKey(display, grab.keycode, grab.modifiers | locks, m_connection.Root());
    }
}

bool X11HotKey::Register(unsigned modifiers, unsigned virtualKey) {
    Unregister();
    m_modifiers = modifiers & kKnownModifiers;
    m_virtualKey = virtualKey & 0xFF;
    const auto grab = Resolve();
    if (!grab || !Take(*grab)) {
        m_virtualKey = 0;
        return false;
    }
    m_grab = grab;
    return true;
}

bool X11HotKey::Unregister() {
    if (m_grab) {
        Release(*m_grab);
    }
    m_grab.reset();
    m_virtualKey = 0;
    return true;
}

void X11HotKey::SetPressedCallback(std::function<void()> callback) {
    m_callback = std::move(callback);
}

// A new layout may put the key on another keycode or Num Lock on another modifier.
void X11HotKey::OnKeymapChanged() {
    if (m_virtualKey == 0) {
        return;
    }
    const auto grab = Resolve();
    if (grab == m_grab) {
        return;
    }
    if (m_grab) {
        Release(*m_grab);
    }
    m_grab = grab && Take(*grab) ? grab : std::nullopt;
}

// Key presses reach this connection only through the grab.
void X11HotKey::OnKeyPress(int keycode) {
    if (!m_grab || keycode != m_grab->keycode || !m_callback) {
        return;
    }
    QMetaObject::invokeMethod(
        &m_context, [callback = m_callback] { callback(); }, Qt::QueuedConnection);
}

} // namespace klt::x11
