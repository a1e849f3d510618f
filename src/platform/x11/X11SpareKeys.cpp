#include "X11SpareKeys.h"

#include "X11Connection.h"
#include "X11Keysyms.h"

#include <QCoreApplication>
#include <QTimer>
#include <X11/Xlib.h>
#include <algorithm>
#include <thread>

namespace klt::x11 {

SpareKeys::SpareKeys(Connection& connection) : m_connection(connection) {
    if (!QCoreApplication::instance())
        return;
    m_timer = std::make_unique<QTimer>();
    m_timer->setSingleShot(true);
    QObject::connect(m_timer.get(), &QTimer::timeout, [this] { GiveBackSettled(); });
}

SpareKeys::~SpareKeys() {
    // At the end the mapping is put back whatever the clients have read.
    for (const auto& [key, used] : m_lent)
        Map(key, NoSymbol);
}

KeyCode SpareKeys::Lend(char32_t character, const std::vector<KeyCode>& freeKeys) {
    KeyCode key = 0;
    if (!freeKeys.empty()) {
        key = freeKeys.front();
    } else if (!m_lent.empty()) {
        auto oldest = std::min_element(m_lent.begin(), m_lent.end(),
                                       [](const auto& a, const auto& b) { return a.second < b.second; });
        key = oldest->first;
        std::this_thread::sleep_until(oldest->second + kSettlingTime);
    }
    if (key == 0 || !Map(key, KeysymOfCharacter(character)))
        return 0;
    Used(key);
    return key;
}

void SpareKeys::Used(KeyCode key) {
    auto it = m_lent.find(key);
    if (it == m_lent.end())
        return;
    it->second = Clock::now();
    ScheduleGiveBack();
}

void SpareKeys::GiveBackSettled() {
    const auto now = Clock::now();
    for (auto it = m_lent.begin(); it != m_lent.end();) {
        if (now - it->second >= kSettlingTime) {
            Map(it->first, NoSymbol);
            it = m_lent.erase(it);
        } else {
            ++it;
        }
    }
    if (!m_lent.empty())
        ScheduleGiveBack();
}

bool SpareKeys::Map(KeyCode key, std::uint32_t keysym) {
    KeySym levels[2] = {keysym, keysym};
    ErrorTrap trap(m_connection.Display());
    XChangeKeyboardMapping(m_connection.Display(), static_cast<int>(key), 2, levels, 1);
    if (!trap.Succeeded())
        return false;
    if (keysym != NoSymbol)
        m_lent[key] = Clock::now();
    return true;
}

void SpareKeys::ScheduleGiveBack() {
    if (m_timer)
        m_timer->start(kSettlingTime);
}

} // namespace klt::x11
