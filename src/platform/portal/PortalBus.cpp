#include "platform/portal/PortalBus.h"

#include <QAtomicInteger>
#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusInterface>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusReply>
#include <QEventLoop>
#include <QTimer>
#include <chrono>

namespace klt::portal {

namespace {

const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");

// A portal that shows a dialog waits for the user; without one it answers within milliseconds.
constexpr std::chrono::milliseconds kResponseBound{5000};

// Receives one signal as a whole message.
class SignalRelay : public QObject {
    Q_OBJECT
public:
    explicit SignalRelay(std::function<void(const QDBusMessage&)> handler) : m_handler(std::move(handler)) {}

public Q_SLOTS:
    void Deliver(const QDBusMessage& message) { m_handler(message); }

private:
    std::function<void(const QDBusMessage&)> m_handler;
};

QDBusMessage NewCall(const QString& interface, const QString& method, const QVariantList& arguments) {
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, interface, method);
    call.setArguments(arguments);
    return call;
}

// Where the portal puts the request of this token: the caller's unique name without its colon, dots
// made underscores.
QString RequestPath(const QString& token) {
    QString sender = QDBusConnection::sessionBus().baseService().mid(1);
    sender.replace(QLatin1Char('.'), QLatin1Char('_'));
    return kPath + QStringLiteral("/request/") + sender + QLatin1Char('/') + token;
}

bool Connect(const QString& path, const QString& interface, const QString& name, SignalRelay* relay) {
    return QDBusConnection::sessionBus().connect(kService, path, interface, name, relay,
                                                 SLOT(Deliver(QDBusMessage)));
}

} // namespace

QString NewToken() {
    static QAtomicInteger<unsigned> counter;
    return QStringLiteral("keyloft%1_%2").arg(QCoreApplication::applicationPid()).arg(++counter);
}

std::optional<QVariantMap> Request(const QString& interface, const QString& method, QVariantList arguments,
                                   QVariantMap options) {
    const QString token = NewToken();
    options.insert(QStringLiteral("handle_token"), token);
    arguments.append(options);

    QEventLoop loop;
    std::optional<QVariantMap> results;
    // Subscribed before the call: the answer may come before the call returns.
    SignalRelay relay([&](const QDBusMessage& message) {
        const QVariantList values = message.arguments();
        if (values.size() == 2 && values[0].toUInt() == 0) {
            results = qdbus_cast<QVariantMap>(values[1]);
        }
        loop.exit();
    });
    const QString path = RequestPath(token);
    if (!Connect(path, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"),
                 &relay)) {
        return std::nullopt;
    }
    const QDBusMessage reply = QDBusConnection::sessionBus().call(NewCall(interface, method, arguments));
    if (reply.type() != QDBusMessage::ReplyMessage) {
        return std::nullopt;
    }
    if (!results) {
        QTimer::singleShot(kResponseBound, &loop, &QEventLoop::quit);
        loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    if (!results) {
        // Nobody answered: take the request back, so that a dialog still open goes away.
        QDBusConnection::sessionBus().call(
            QDBusMessage::createMethodCall(kService, path, QStringLiteral("org.freedesktop.portal.Request"),
                                           QStringLiteral("Close")),
            QDBus::NoBlock);
    }
    return results;
}

bool Call(const QString& interface, const QString& method, const QVariantList& arguments) {
    return QDBusConnection::sessionBus().call(NewCall(interface, method, arguments)).type() ==
           QDBusMessage::ReplyMessage;
}

QVariant Property(const QString& interface, const QString& name) {
    const QDBusMessage reply = QDBusConnection::sessionBus().call(
        NewCall(QStringLiteral("org.freedesktop.DBus.Properties"), QStringLiteral("Get"), {interface, name}));
    if (reply.type() != QDBusMessage::ReplyMessage || reply.arguments().isEmpty()) {
        return {};
    }
    return reply.arguments().front().value<QDBusVariant>().variant();
}

QString SessionHandleOf(const QVariantMap& results) {
    const QVariant handle = results.value(QStringLiteral("session_handle"));
    // The interfaces say a string; some portals send an object path.
    return handle.canConvert<QDBusObjectPath>() && handle.typeId() == qMetaTypeId<QDBusObjectPath>()
               ? handle.value<QDBusObjectPath>().path()
               : handle.toString();
}

void CloseSession(const QString& sessionHandle) {
    QDBusConnection::sessionBus().call(
        QDBusMessage::createMethodCall(kService, sessionHandle,
                                       QStringLiteral("org.freedesktop.portal.Session"),
                                       QStringLiteral("Close")),
        QDBus::NoBlock);
}

std::unique_ptr<QObject> Subscribe(const QString& interface, const QString& name,
                                   std::function<void(const QDBusMessage&)> handler) {
    auto relay = std::make_unique<SignalRelay>(std::move(handler));
    if (!Connect(kPath, interface, name, relay.get())) {
        return nullptr;
    }
    return relay;
}

} // namespace klt::portal

#include "PortalBus.moc"
