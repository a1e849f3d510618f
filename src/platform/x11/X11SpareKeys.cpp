#include "X11SpareKeys.h"

#include "X11Connection.h"
#include "X11Keysyms.h"

#include <QCoreApplication>
#include <QTimer>
#include <X11/XKBlib.h>
#include <algorithm>
#include <thread>
#include <xkbcommon/xkbcommon.h>

namespace klt::x11 {

namespace {

struct FreeKeyboard {
    void operator()(XkbDescPtr xkb) const { XkbFreeKeyboard(xkb, 0, True); }
};

} // namespace

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
        Map(key, 0);
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
    if (key == 0 || !Map(key, character))
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
            Map(it->first, 0);
            it = m_lent.erase(it);
        } else {
            ++it;
        }
    }
    if (!m_lent.empty())
        ScheduleGiveBack();
}

bool SpareKeys::Map(KeyCode key, char32_t character) {
    Display* display = m_connection.Display();
    ErrorTrap trap(display);
    // Changing a key's types also looks at its actions, so they have to be read as well.
    std::unique_ptr<XkbDescRec, FreeKeyboard> xkb(
        XkbGetMap(display, XkbKeyTypesMask | XkbKeySymsMask | XkbKeyActionsMask, XkbUseCoreKbd));
    if (!xkb)
        return false;
    XkbMapChangesRec changes{};
    const int keycode = static_cast<int>(key);
    if (character == 0) {
        XkbChangeTypesOfKey(xkb.get(), keycode, 0, XkbAllGroupsMask, nullptr, &changes);
    } else {
        const xkb_keysym_t keysym = KeysymOfCharacter(character);
        const xkb_keysym_t small = xkb_keysym_to_lower(keysym), capital = xkb_keysym_to_upper(keysym);
        int type = small != capital ? XkbAlphabeticIndex : XkbOneLevelIndex;
        if (XkbChangeTypesOfKey(xkb.get(), keycode, 1, XkbGroup1Mask, &type, &changes) != Success)
            return false;
        KeySym* symbols = XkbKeySymsPtr(xkb.get(), keycode);
        symbols[0] = small != capital ? small : keysym;
        if (small != capital)
            symbols[1] = capital;
    }
    changes.changed |= XkbKeySymsMask;
    changes.first_key_sym = static_cast<unsigned char>(keycode);
    changes.num_key_syms = 1;
    XkbChangeMap(display, xkb.get(), &changes);
    if (!trap.Succeeded())
        return false;
    if (character != 0)
        m_lent[key] = Clock::now();
    return true;
}

void SpareKeys::ScheduleGiveBack() {
    if (m_timer)
        m_timer->start(kSettlingTime);
}

} // namespace klt::x11
