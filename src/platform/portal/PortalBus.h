#pragma once
// The desktop portal on the session bus: calls that the portal answers later through a request
// object's Response signal, and the portal's own signals delivered to a function.

#include <QString>
#include <QVariant>
#include <QVariantList>
#include <QVariantMap>
#include <functional>
#include <memory>
#include <optional>

class QDBusMessage;
class QObject;

namespace klt::portal {

// A fresh name for a request or a session, unique in this process.
QString NewToken();

// Calls a method of the portal's interface whose last argument is its options and whose answer comes
// through a request. The results when the portal answered with success within a few seconds; nullopt
// when it refused, failed, or waits for the user (a consent dialog counts as a refusal).
std::optional<QVariantMap> Request(const QString& interface, const QString& method, QVariantList arguments,
                                   QVariantMap options);

// A call that answers at once; false when it failed.
bool Call(const QString& interface, const QString& method, const QVariantList& arguments);

// A property of the portal's interface; invalid when the portal or the interface is missing.
QVariant Property(const QString& interface, const QString& name);

// The session a CreateSession request made; empty when the results name none.
QString SessionHandleOf(const QVariantMap& results);

// Ends a session the portal made.
void CloseSession(const QString& sessionHandle);

// Delivers the portal's signal to the handler, from the event loop, for as long as the returned
// object lives.
std::unique_ptr<QObject> Subscribe(const QString& interface, const QString& name,
                                   std::function<void(const QDBusMessage&)> handler);

} // namespace klt::portal
