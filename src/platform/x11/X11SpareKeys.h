#pragma once
// Free keys lent to characters that the layout cannot type. A lent key carries the character on both
// of its levels, so neither Shift nor Caps Lock changes it. Other clients read the changed mapping
// only when they get round to its notification, which may be after the key event has been sent; a
// key is therefore given back only after a settling time, and not right after its key-up.

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
    bool Map(KeyCode key, std::uint32_t keysym);
    void ScheduleGiveBack();

    Connection& m_connection;
    std::map<KeyCode, Clock::time_point> m_lent; // key -> last use
    std::unique_ptr<QTimer> m_timer;
};

} // namespace klt::x11
