#include "platform/PortalPlatform.h"

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

} // namespace

struct PortalPlatform::Services {
    Services(std::unique_ptr<wayland::Connection> opened, QString session, IKeyboard* modifierSource)
        : connection(std::move(opened)), seatKeymap(*connection),
          keyboard(std::move(session), seatKeymap, modifierSource) {}

    std::unique_ptr<wayland::Connection> connection; // destroyed last
    wayland::SeatKeymap seatKeymap;
    portal::PortalKeyboard keyboard;
    portal::PortalWindows windows;
    portal::PortalHotKey hotKey;
};

std::unique_ptr<PortalPlatform> PortalPlatform::Open(IKeyboard* modifierSource) {
    if (!portal::Property(QStringLiteral("org.freedesktop.portal.GlobalShortcuts"), QStringLiteral("version"))
             .isValid()) {
        return nullptr;
    }
    auto connection = wayland::Connection::Open();
    QString session = connection != nullptr ? StartKeyboardSession() : QString();
    if (session.isEmpty()) {
        return nullptr;
    }
    return std::unique_ptr<PortalPlatform>(new PortalPlatform(
        std::make_unique<Services>(std::move(connection), std::move(session), modifierSource)));
}

PortalPlatform::PortalPlatform(std::unique_ptr<Services> services) : m_services(std::move(services)) {}
PortalPlatform::~PortalPlatform() = default;

IKeyboard& PortalPlatform::Keyboard() {
    return m_services->keyboard;
}
IWindowSystem& PortalPlatform::Windows() {
    return m_services->windows;
}
IHotKey& PortalPlatform::HotKey() {
    return m_services->hotKey;
}

} // namespace klt
