#pragma once
// The hot key as a global shortcut of the portal. The desktop takes a session's shortcuts only when
// the session is made, so each combination gets a session of its own.

#include "platform/HotKey.h"

#include <QObject>
#include <QString>
#include <memory>
#include <string>

namespace klt::portal {

// The portal's description of a combination of MOD_* bits and a virtual-key code ("CTRL+ALT+Insert");
// empty when the key has no name.
std::string TriggerOf(unsigned modifiers, unsigned virtualKey);

class PortalHotKey final : public IHotKey {
public:
    PortalHotKey();
    ~PortalHotKey() override;

    // False when the portal did not take the shortcut; the desktop may still bind it to other keys
    // or none, as the user decides in its settings.
    bool Register(unsigned modifiers, unsigned virtualKey) override;
    bool Unregister() override;
    void SetPressedCallback(std::function<void()> callback) override;

private:
    QString m_session;
    std::function<void()> m_callback;
    std::unique_ptr<QObject> m_activated;
    QObject m_context; // queues the callback to the event loop
};

} // namespace klt::portal
