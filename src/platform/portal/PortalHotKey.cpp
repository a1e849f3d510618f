#include "platform/portal/PortalHotKey.h"

#include "framework/WinKeys.h"
#include "platform/portal/PortalBus.h"
#include "platform/xkb/Keysyms.h"

#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <array>
#include <utility>
#include <xkbcommon/xkbcommon.h>

namespace klt::portal {

namespace {

using Shortcuts = QList<std::pair<QString, QVariantMap>>;

const QString kInterface = QStringLiteral("org.freedesktop.portal.GlobalShortcuts");
const QString kShortcutId = QStringLiteral("paste");

} // namespace

std::string TriggerOf(unsigned modifiers, unsigned virtualKey) {
    const std::uint32_t keysym = xkb::KeysymOfVirtualKey(virtualKey & 0xFF);
    std::array<char, 64> name{};
    if (keysym == 0 || xkb_keysym_get_name(keysym, name.data(), name.size()) <= 0) {
        return {};
    }
    std::string trigger;
    for (const auto& [bit, word] :
         {std::pair{MOD_CONTROL, "CTRL+"}, {MOD_ALT, "ALT+"}, {MOD_SHIFT, "SHIFT+"}}) {
        if (modifiers & bit) {
            trigger += word;
        }
    }
    return trigger + name.data();
}

PortalHotKey::PortalHotKey() {
    qDBusRegisterMetaType<std::pair<QString, QVariantMap>>();
    qDBusRegisterMetaType<Shortcuts>();
    m_activated = Subscribe(kInterface, QStringLiteral("Activated"), [this](const QDBusMessage& message) {
        const QVariantList values = message.arguments();
        if (values.size() < 2 || m_session.isEmpty() || !m_callback ||
            values[0].value<QDBusObjectPath>().path() != m_session || values[1].toString() != kShortcutId) {
            return;
        }
        QMetaObject::invokeMethod(
            &m_context, [callback = m_callback] { callback(); }, Qt::QueuedConnection);
    });
}

PortalHotKey::~PortalHotKey() {
    Unregister();
}

bool PortalHotKey::Register(unsigned modifiers, unsigned virtualKey) {
    Unregister();
    const std::string trigger = TriggerOf(modifiers, virtualKey);
    if (trigger.empty()) {
        return false;
    }
    const QVariantMap shortcut{
        {QStringLiteral("description"), QStringLiteral("Paste a user name or password")},
        {QStringLiteral("preferred_trigger"), QString::fromStdString(trigger)}};
    const QVariantMap options{
        {QStringLiteral("session_handle_token"), NewToken()},
        {QStringLiteral("shortcuts"), QVariant::fromValue(Shortcuts{{kShortcutId, shortcut}})}};
    const auto results = Request(kInterface, QStringLiteral("CreateSession"), {}, options);
    if (!results) {
        return false;
    }
    m_session = SessionHandleOf(*results);
    return !m_session.isEmpty();
}

bool PortalHotKey::Unregister() {
    if (!m_session.isEmpty()) {
        CloseSession(m_session);
        m_session.clear();
    }
    return true;
}

void PortalHotKey::SetPressedCallback(std::function<void()> callback) {
    m_callback = std::move(callback);
}

} // namespace klt::portal
