#pragma once
// The hot key as a passive grab of one key with its modifiers on the root window, taken for every
// combination of Caps Lock and Num Lock so that neither lock disables it.

#include "platform/HotKey.h"

#include <QObject>
#include <optional>

namespace klt::x11 {

class Connection;

class X11HotKey final : public IHotKey {
public:
    explicit X11HotKey(Connection& connection);
    ~X11HotKey() override;

    bool Register(unsigned modifiers, unsigned virtualKey) override;
    bool Unregister() override;
    void SetPressedCallback(std::function<void()> callback) override;

private:
    struct Grab {
        int keycode = 0;
        unsigned modifiers = 0; // X modifier mask without the locks
        unsigned numLockMask = 0;
        bool operator==(const Grab&) const = default;
    };
    std::optional<Grab> Resolve() const;
    bool Take(const Grab& grab);
    void Release(const Grab& grab);
    void OnKeymapChanged();
    void OnKeyPress(int keycode);

    Connection& m_connection;
    unsigned m_modifiers = 0;
    unsigned m_virtualKey = 0;
    std::optional<Grab> m_grab;
    std::function<void()> m_callback;
    QObject m_context; // queues the callback to the event loop
};

} // namespace klt::x11
