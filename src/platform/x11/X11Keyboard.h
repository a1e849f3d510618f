#pragma once
// The keyboard through XKB (layout, state) and XTest (synthetic key events).

#include "platform/Keyboard.h"
#include "platform/x11/X11Keymap.h"
#include "platform/x11/X11SpareKeys.h"

#include <memory>

namespace klt::x11 {

class Connection;

class X11Keyboard final : public IKeyboard {
public:
    explicit X11Keyboard(Connection& connection);

    bool IsModifierDown(Modifier modifier) override;
    bool IsCapsLockOn() override;
    // Characters that the active group lacks are typed through a lent spare key.
    std::optional<KeyScan> LookUp(char32_t character) override;
    void SendKey(KeyCode key, bool down) override;
    void SendModifier(Modifier modifier, bool down) override;

private:
    const Keymap& CurrentKeymap();

    Connection& m_connection;
    std::unique_ptr<Keymap> m_keymap; // null once the server's mapping has changed
    SpareKeys m_spareKeys;
};

} // namespace klt::x11
