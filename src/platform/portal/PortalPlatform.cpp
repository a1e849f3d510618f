#include "platform/Platform.h"
#include "platform/portal/PortalBus.h"
#include "platform/portal/PortalHotKey.h"
#include "platform/portal/PortalKeyboard.h"
#include "platform/portal/PortalWindows.h"
#include "platform/wayland/SeatKeymap.h"
#include "platform/wayland/WaylandConnection.h"

#include <QDBusObjectPath>

namespace klt {

namespace {

const QString kRemoteDesktop = QStringLiteral("org.freedesktop.portal.RemoteDesktop");
constexpr unsigned kKeyboardDevice = 1;

// A remote-desktop session with the keyboard, started; empty when the portal refused it or asked the
// user (who may not be there to answer).
QString StartKeyboardSession() {
    if ((portal::Property(kRemoteDesktop, QStringLiteral("AvailableDeviceTypes")).toUInt() &
         kKeyboardDevice) == 0) {
        return {};
    }
    const auto created = portal::Request(kRemoteDesktop, QStringLiteral("CreateSession"), {},
                                         {{QStringLiteral("session_handle_token"), portal::NewToken()}});
    const QString session = created ? portal::SessionHandleOf(*created) : QString();
    if (session.isEmpty()) {
        return {};
    }
    const QVariant handle = QVariant::fromValue(QDBusObjectPath(session));
    const auto selected = portal::Request(kRemoteDesktop, QStringLiteral("SelectDevices"), {handle},
                                          {{QStringLiteral("types"), kKeyboardDevice}});
    const auto started =
        selected ? portal::Request(kRemoteDesktop, QStringLiteral("Start"), {handle, QString()}, {})
                 : std::nullopt;
    if (!started || (started->value(QStringLiteral("devices")).toUInt() & kKeyboardDevice) == 0) {
        portal::CloseSession(session);
        return {};
    }
    return session;
}

// The keys go through the portal in the layout of the seat's keymap, read over a Wayland connection.
class PortalPlatform final : public Platform {
public:
    PortalPlatform(std::unique_ptr<wayland::Connection> opened, QString session, IKeyboard* modifierSource)
        : m_connection(std::move(opened)), m_seatKeymap(*m_connection),
          m_keyboard(std::move(session), m_seatKeymap, modifierSource) {}

    IKeyboard& Keyboard() override { return m_keyboard; }
    IWindowSystem& Windows() override { return m_windows; }
    IHotKey& HotKey() override { return m_hotKey; }

private:
    std::unique_ptr<wayland::Connection> m_connection; // destroyed last
    wayland::SeatKeymap m_seatKeymap;
    portal::PortalKeyboard m_keyboard;
    portal::PortalWindows m_windows;
    portal::PortalHotKey m_hotKey;
};

} // namespace

std::unique_ptr<Platform> OpenPortalPlatform(IKeyboard* modifierSource) {
    if (!portal::Property(QStringLiteral("org.freedesktop.portal.GlobalShortcuts"), QStringLiteral("version"))
             .isValid()) {
        return nullptr;
    }
    auto connection = wayland::Connection::Open();
    QString session = connection != nullptr ? StartKeyboardSession() : QString();
    if (session.isEmpty()) {
        return nullptr;
    }
    return std::make_unique<PortalPlatform>(std::move(connection), std::move(session), modifierSource);
}

} // namespace klt
