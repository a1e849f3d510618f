#include "platform/x11/X11Keyboard.h"

#include "platform/x11/X11Connection.h"

#include <X11/XKBlib.h>
#include <X11/extensions/XTest.h>

namespace klt::x11 {

X11Keyboard::X11Keyboard(Connection& connection) : m_connection(connection), m_spareKeys(connection) {
    const unsigned mask = XkbNewKeyboardNotifyMask | XkbMapNotifyMask;
    XkbSelectEvents(connection.Display(), XkbUseCoreKbd, mask, mask);
    connection.AddListener([this](const XEvent& event) {
        const bool xkbMapping =
            event.type == m_connection.XkbEventBase() &&
            (reinterpret_cast<const XkbEvent&>(event).any.xkb_type == XkbNewKeyboardNotify ||
             reinterpret_cast<const XkbEvent&>(event).any.xkb_type == XkbMapNotify);
        if (xkbMapping || event.type == MappingNotify) {
            m_keymap.reset();
        }
    });
}

const Keymap& X11Keyboard::CurrentKeymap() {
    m_connection.ProcessPendingEvents();
    if (!m_keymap) {
        m_keymap = std::make_unique<Keymap>(m_connection.Display());
    }
    return *m_keymap;
}

bool X11Keyboard::IsModifierDown(Modifier modifier) {
    const Keymap& keymap = CurrentKeymap();
    char pressed[32];
    XQueryKeymap(m_connection.Display(), pressed);
    auto anyDown = [&](Modifier which) {
        for (KeyCode key : keymap.KeysOf(which)) {
            if (pressed[key / 8] & (1 << (key % 8))) {
                return true;
            }
        }
        return false;
    };
    return anyDown(modifier) || (modifier == Modifier::alt && anyDown(Modifier::altGr));
}

bool X11Keyboard::IsCapsLockOn() {
    XkbStateRec state{};
    XkbGetState(m_connection.Display(), XkbUseCoreKbd, &state);
    return (state.locked_mods & LockMask) != 0;
}

std::optional<KeyScan> X11Keyboard::LookUp(char32_t character) {
    XkbStateRec state{};
    XkbGetState(m_connection.Display(), XkbUseCoreKbd, &state);
    const bool capsLock = (state.locked_mods & LockMask) != 0;
    if (auto scan = CurrentKeymap().Find(character, state.group, capsLock)) {
        return scan;
    }
    if (m_spareKeys.Lend(character, CurrentKeymap().SpareKeys()) == 0) {
        return std::nullopt;
    }
    m_keymap.reset();
    return CurrentKeymap().Find(character, state.group, capsLock);
}

void X11Keyboard::SendKey(KeyCode key, bool down) {
    XTestFakeKeyEvent(m_connection.Display(), key, down, CurrentTime);
    XFlush(m_connection.Display());
    m_spareKeys.Used(key);
}

void X11Keyboard::SendModifier(Modifier modifier, bool down) {
    if (const KeyCode key = CurrentKeymap().ModifierKey(modifier)) {
        SendKey(key, down);
    }
}

} // namespace klt::x11
