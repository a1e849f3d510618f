#pragma once
// Free keys lent to characters that the layout cannot type. A letter is lent with its small and its
// capital form on an alphabetic key, as the layouts have their letters, so that Caps Lock works on it
// as on any letter key; any other character sits alone on a one-level key. Other clients read the changed
// mapping only when they get round to its notification, which may be after the key event has been sent; a key
// is therefore given back only after a settling time, and not right after its key-up.

#include "Keyboard.h"

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

    // A key now carrying the character: one of the free keys, or else the key lent longest ago
    // once it has settled. 0 when there is neither.
    KeyCode Lend(char32_t character, const std::vector<KeyCode>& freeKeys);
    // Notes that a lent key was just typed, which restarts its settling time.
    void Used(KeyCode key);
    // Clears every lent key that has settled; the rest are cleared later.
    void GiveBackSettled();

private:
    // Puts the character on the key, or clears the key for 0.
    bool Map(KeyCode key, char32_t character);
    void ScheduleGiveBack();

    Connection& m_connection;
    std::map<KeyCode, Clock::time_point> m_lent; // key -> last use
    std::unique_ptr<QTimer> m_timer;
};

} // namespace klt::x11
