#pragma once
// Free keys lent to characters that the layout cannot type. A key carries one or two of them, each in
// a slot of two levels: a letter with its small and its capital form, any other character twice. The
// second slot lies on the AltGr levels of a four-level alphabetic key, so Caps Lock works on both as
// on the letter keys of the layouts.
// Other clients read a changed mapping only when they get round to its notification, which may be
// well after the key event was sent. A key is therefore given back once it has not been used for a
// settling time, and a key is cleared for other characters (when no free key is left) only after
// that time too.

#include "platform/Keyboard.h"

#include <array>
#include <chrono>
#include <map>
#include <memory>
#include <vector>

class QTimer;

namespace klt::x11 {

class Connection;

class SpareKeys {
public:
    using Clock = std::chrono::steady_clock;
    static constexpr std::chrono::milliseconds kSettlingTime{1000};

    explicit SpareKeys(Connection& connection);
    ~SpareKeys();
    SpareKeys(const SpareKeys&) = delete;
    SpareKeys& operator=(const SpareKeys&) = delete;

    // The key now carrying the character: a lent key with a slot left, a free key, or else the key
    // used longest ago once it has settled. 0 when there is none.
    KeyCode Lend(char32_t character, const std::vector<KeyCode>& freeKeys);
    // Notes that a lent key was just typed, which restarts its settling time.
    void Used(KeyCode key);
    // Clears every lent key that has settled; the rest are cleared later.
    void GiveBackSettled();

private:
    using Slot = std::array<std::uint32_t, 2>; // keysyms of the two levels
    struct LentKey {
        std::vector<Slot> held; // one or two
        Clock::time_point lastUse;
    };

    // Writes the key's slots to the server; none clear the key.
    bool Write(KeyCode key, const std::vector<Slot>& held);
    void ScheduleGiveBack();

    Connection& m_connection;
    std::map<KeyCode, LentKey> m_lent;
    std::unique_ptr<QTimer> m_timer;
};

} // namespace klt::x11
