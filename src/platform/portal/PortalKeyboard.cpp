#include "platform/portal/PortalKeyboard.h"

#include "platform/portal/PortalBus.h"
#include "platform/wayland/SeatKeymap.h"
#include "platform/xkb/Keymap.h"

#include <QDBusObjectPath>
#include <xkbcommon/xkbcommon-keysyms.h>

namespace klt::portal {

namespace {

std::uint32_t KeysymOf(Modifier modifier) {
    switch (modifier) {
    case Modifier::shift:
        return XKB_KEY_Shift_L;
    case Modifier::ctrl:
        return XKB_KEY_Control_L;
    case Modifier::alt:
        return XKB_KEY_Alt_L;
    case Modifier::altGr:
        return XKB_KEY_ISO_Level3_Shift;
    }
    return 0;
}

} // namespace

PortalKeyboard::PortalKeyboard(QString session, const wayland::SeatKeymap& seatKeymap,
                               IKeyboard* modifierSource)
    : m_session(std::move(session)), m_seatKeymap(seatKeymap), m_modifierSource(modifierSource) {}

PortalKeyboard::~PortalKeyboard() {
    CloseSession(m_session);
}

bool PortalKeyboard::IsModifierDown(Modifier modifier) {
    return m_modifierSource != nullptr && m_modifierSource->IsModifierDown(modifier);
}

bool PortalKeyboard::IsCapsLockOn() {
    return m_modifierSource != nullptr && m_modifierSource->IsCapsLockOn();
}

void PortalKeyboard::BeginText(std::u32string_view /*characters*/) {
    m_keymap.reset();
}

const PortalKeymap* PortalKeyboard::CurrentKeymap() {
    if (!m_keymap) {
        const wayland::Keymap* seat = m_seatKeymap.Current();
        m_keymap = seat != nullptr ? std::make_unique<PortalKeymap>(*seat) : nullptr;
    }
    return m_keymap.get();
}

std::optional<KeyScan> PortalKeyboard::LookUp(char32_t character) {
    const PortalKeymap* keymap = CurrentKeymap();
    return keymap != nullptr ? keymap->Find(character) : std::nullopt;
}

// Each key waits for the portal's reply: the keys then reach the compositor one by one, in order.
void PortalKeyboard::SendKey(KeyCode key, bool down) {
    Call(QStringLiteral("org.freedesktop.portal.RemoteDesktop"), QStringLiteral("NotifyKeyboardKeysym"),
         {QVariant::fromValue(QDBusObjectPath(m_session)), QVariantMap(), static_cast<int>(key),
          static_cast<unsigned>(down ? 1 : 0)});
}

void PortalKeyboard::SendModifier(Modifier modifier, bool down) {
    SendKey(KeysymOf(modifier), down);
}

} // namespace klt::portal
