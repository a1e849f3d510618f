#include "support/FakeHotKey.h"

namespace klt {

bool FakeHotKey::Register(unsigned modifiers, unsigned virtualKey) {
    ++registerCalls;
    registered.reset();
    const Combination combination{modifiers & (MOD_ALT | MOD_CONTROL | MOD_SHIFT), virtualKey & 0xFF};
    if (combination.second == 0 || ownedByOthers.count(combination)) {
        return false;
    }
    registered = combination;
    return true;
}

bool FakeHotKey::Unregister() {
    ++unregisterCalls;
    registered.reset();
    return true;
}

bool FakeHotKey::Press() {
    if (!registered) {
        return false;
    }
    if (m_callback) {
        m_callback();
    }
    return true;
}

} // namespace klt
