#include "platform/x11/X11SpareKeys.h"

#include "platform/x11/X11Connection.h"
#include "platform/xkb/KeymapRules.h"
#include "platform/xkb/Keysyms.h"

#include <QCoreApplication>
#include <QTimer>
#include <X11/XKBlib.h>
#include <X11/keysym.h>
#include <algorithm>
#include <cstring>
#include <thread>

namespace klt::x11 {

namespace {

struct FreeKeyboard {
    void operator()(XkbDescPtr xkb) const { XkbFreeKeyboard(xkb, 0, True); }
};

// The index of the named key type in the keyboard's list, -1 when it has none of that name.
int TypeIndex(Display* display, XkbDescPtr xkb, const char* name) {
    const Atom atom = XInternAtom(display, name, True);
    // The map leaves the types' names out; they come with the keyboard's names.
    if (atom == None || XkbGetNames(display, XkbKeyTypeNamesMask, xkb) != Success) {
        return -1;
    }
    for (int i = 0; i < xkb->map->num_types; ++i) {
        if (xkb->map->types[i].name == atom) {
            return i;
        }
    }
    return -1;
}

} // namespace

SpareKeys::SpareKeys(Connection& connection) : m_connection(connection) {
    if (!QCoreApplication::instance()) {
        return;
    }
    m_timer = std::make_unique<QTimer>();
    m_timer->setSingleShot(true);
    QObject::connect(m_timer.get(), &QTimer::timeout, [this] { GiveBackSettled(); });
}

SpareKeys::~SpareKeys() {
    // At the end the mapping is put back whatever the clients have read.
    for (const auto& entry : m_lent) {
        Write(entry.first, {});
    }
}

KeyCode SpareKeys::Lend(char32_t character, const std::vector<KeyCode>& freeKeys) {
    const Slot slot = xkb::LentLevels(character);
    // The second slot needs a level-3 shift key and the four-level type (whose name is then known).
    const bool twoSlots =
        xkb::CanLendTwoSlots(XkbKeysymToModifiers(m_connection.Display(), XK_ISO_Level3_Shift),
                             XInternAtom(m_connection.Display(), xkb::kFourLevelAlphabetic, True) != None);

    auto roomy = std::find_if(m_lent.begin(), m_lent.end(),
                              [&](const auto& entry) { return twoSlots && entry.second.held.size() == 1; });
    KeyCode key = 0;
    std::vector<Slot> held{slot};
    if (roomy != m_lent.end()) {
        key = roomy->first;
        held.insert(held.begin(), roomy->second.held.front()); // the first slot stays as it was
    } else if (!freeKeys.empty()) {
        key = freeKeys.front();
    } else if (!m_lent.empty()) {
        auto oldest = std::min_element(m_lent.begin(), m_lent.end(), [](const auto& a, const auto& b) {
            return a.second.lastUse < b.second.lastUse;
        });
        key = oldest->first;
        std::this_thread::sleep_until(oldest->second.lastUse + kSettlingTime);
    }
    if (key == 0 || !Write(key, held)) {
        return 0;
    }
    m_lent[key].held = held;
    Used(key);
    return key;
}

void SpareKeys::Used(KeyCode key) {
    auto it = m_lent.find(key);
    if (it == m_lent.end()) {
        return;
    }
    it->second.lastUse = Clock::now();
    ScheduleGiveBack();
}

void SpareKeys::GiveBackSettled() {
    const auto now = Clock::now();
    for (auto it = m_lent.begin(); it != m_lent.end();) {
        if (now - it->second.lastUse >= kSettlingTime) {
            Write(it->first, {});
            it = m_lent.erase(it);
        } else {
            ++it;
        }
    }
    if (!m_lent.empty()) {
        ScheduleGiveBack();
    }
}

bool SpareKeys::Write(KeyCode key, const std::vector<Slot>& held) {
    Display* display = m_connection.Display();
    ErrorTrap trap(display);
    // Changing a key's types also looks at its actions, so they have to be read as well.
    std::unique_ptr<XkbDescRec, FreeKeyboard> xkb(
        XkbGetMap(display, XkbKeyTypesMask | XkbKeySymsMask | XkbKeyActionsMask, XkbUseCoreKbd));
    if (!xkb) {
        return false;
    }
    int type =
        held.size() == 2 ? TypeIndex(display, xkb.get(), xkb::kFourLevelAlphabetic) : XkbAlphabeticIndex;
    if (type < 0) {
        return false;
    }
    XkbMapChangesRec changes{};
    const int keycode = static_cast<int>(key);
    if (XkbChangeTypesOfKey(xkb.get(), keycode, held.empty() ? 0 : 1, XkbGroup1Mask, &type, &changes) !=
        Success) {
        return false;
    }
    KeySym* symbols = XkbKeySymsPtr(xkb.get(), keycode);
    for (size_t i = 0; i < held.size(); ++i) {
        symbols[2 * i] = held[i][0];
        symbols[2 * i + 1] = held[i][1];
    }
    changes.changed |= XkbKeySymsMask;
    changes.first_key_sym = static_cast<unsigned char>(keycode);
    changes.num_key_syms = 1;
    XkbChangeMap(display, xkb.get(), &changes);
    return trap.Succeeded();
}

void SpareKeys::ScheduleGiveBack() {
    if (m_timer) {
        m_timer->start(kSettlingTime);
    }
}

} // namespace klt::x11
