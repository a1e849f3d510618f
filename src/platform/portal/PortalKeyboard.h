#pragma once
// Keys through the portal's remote-desktop session: each key is a keysym, which the portal presses on
// the user's layout. The layout is read again for every text, so a layout changed meanwhile counts.

#include "platform/Keyboard.h"
#include "platform/portal/PortalKeymap.h"

#include <QString>
#include <memory>

namespace klt::wayland {
class SeatKeymap;
} // namespace klt::wayland

namespace klt::portal {

class PortalKeyboard final : public IKeyboard {
public:
    // The seat's keymap is the user's layout, the one the portal looks keysyms up in.
    PortalKeyboard(QString session, const wayland::SeatKeymap& seatKeymap, IKeyboard* modifierSource);
    ~PortalKeyboard() override;

    bool IsModifierDown(Modifier modifier) override;
    bool IsCapsLockOn() override;
    // KeyScan::key is the keysym the portal is sent.
    std::optional<KeyScan> LookUp(char32_t character) override;
    void SendKey(KeyCode key, bool down) override;
    void SendModifier(Modifier modifier, bool down) override;
    void BeginText(std::u32string_view characters) override;

private:
    const PortalKeymap* CurrentKeymap();

    QString m_session;
    const wayland::SeatKeymap& m_seatKeymap;
    IKeyboard* m_modifierSource;
    std::unique_ptr<PortalKeymap> m_keymap;
};

} // namespace klt::portal
