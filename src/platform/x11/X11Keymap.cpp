#include "platform/x11/X11Keymap.h"

#include "platform/xkb/KeymapRules.h"
#include "platform/xkb/Keysyms.h"

#include <X11/XKBlib.h>
#include <X11/keysym.h>
#include <memory>
#include <xkbcommon/xkbcommon.h>

namespace klt::x11 {

namespace {

struct FreeKeyboard {
    void operator()(XkbDescPtr xkb) const { XkbFreeKeyboard(xkb, 0, True); }
};

// The group a key uses while `group` is the active one.
int EffectiveGroup(XkbDescPtr xkb, int key, int group) {
    const int count = XkbKeyNumGroups(xkb, key);
    if (group < count) {
        return group;
    }
    const unsigned char info = XkbKeyGroupInfo(xkb, key);
    switch (XkbOutOfRangeGroupAction(info)) {
    case XkbClampIntoRange:
        return count - 1;
    case XkbRedirectIntoRange: {
        const int target = XkbOutOfRangeGroupNumber(info);
        return target < count ? target : 0;
    }
    default:
        return group % count;
    }
}

// The masks of the key type's active entries that select the level; the first level needs none.
std::vector<unsigned> MasksOfLevel(const XkbKeyTypeRec& type, int level) {
    std::vector<unsigned> masks;
    if (level == 0) {
        masks.push_back(0);
    }
    for (int i = 0; i < type.map_count; ++i) {
        if (type.map[i].active && type.map[i].level == level && type.map[i].mods.mask != 0) {
            masks.push_back(type.map[i].mods.mask);
        }
    }
    return masks;
}

std::optional<unsigned> ShiftStateOfLevel(const XkbKeyTypeRec& type, int level, unsigned level3Mask) {
    return xkb::ShiftStateOf(MasksOfLevel(type, level), ShiftMask, level3Mask);
}

struct Resolved {
    int level = 0;
    bool locksConsumed = false; // Lock chose the level instead of being left for the client to apply
};

// What the key type makes of a modifier state, as the server and the clients work it out.
Resolved Resolve(const XkbKeyTypeRec& type, unsigned mods) {
    const unsigned relevant = mods & type.mods.mask;
    unsigned preserved = 0;
    Resolved result;
    for (int i = 0; i < type.map_count; ++i) {
        if (type.map[i].active && type.map[i].mods.mask == relevant) {
            result.level = type.map[i].level;
            preserved = type.preserve ? type.preserve[i].mask : 0;
            break;
        }
    }
    result.locksConsumed = (type.mods.mask & ~preserved & LockMask) != 0;
    return result;
}

unsigned ModifiersOf(unsigned shiftState, unsigned level3Mask) {
    return (shiftState & kShiftBit ? ShiftMask : 0) | (shiftState & kCtrlBit ? level3Mask : 0);
}

bool IsLetterType(const XkbKeyTypeRec& type) {
    return xkb::IsLetterKey(MasksOfLevel(type, 1), LockMask);
}

int ModifierOfKeysym(KeySym keysym) {
    switch (keysym) {
    case XK_Shift_L:
    case XK_Shift_R:
        return static_cast<int>(Modifier::shift);
    case XK_Control_L:
    case XK_Control_R:
        return static_cast<int>(Modifier::ctrl);
    case XK_Alt_L:
    case XK_Alt_R:
    case XK_Meta_L:
    case XK_Meta_R:
        return static_cast<int>(Modifier::alt);
    case XK_ISO_Level3_Shift:
        return static_cast<int>(Modifier::altGr);
    default:
        return -1;
    }
}

} // namespace

Keymap::Keymap(Display* display) {
    Read(display);
}

void Keymap::Read(Display* display) {
    std::unique_ptr<XkbDescRec, FreeKeyboard> xkb(
        XkbGetMap(display, XkbKeyTypesMask | XkbKeySymsMask | XkbVirtualModsMask, XkbUseCoreKbd));
    if (!xkb) {
        return;
    }
    const unsigned level3Mask = XkbKeysymToModifiers(display, XK_ISO_Level3_Shift);
    int groups = 1;
    for (int key = xkb->min_key_code; key <= xkb->max_key_code; ++key) {
        groups = std::max(groups, static_cast<int>(XkbKeyNumGroups(xkb.get(), key)));
    }
    m_characters.assign(groups, {});
    m_capsCharacters.assign(groups, {});
    for (int key = xkb->min_key_code; key <= xkb->max_key_code; ++key) {
        ReadKey(xkb.get(), key, level3Mask);
    }
}

// One key: spare when it has no symbols, else a modifier by its first modifier keysym, and the
// characters it gives in every group of the keyboard.
void Keymap::ReadKey(XkbDescPtr xkb, int key, unsigned level3Mask) {
    if (XkbKeyNumGroups(xkb, key) == 0) {
        m_spareKeys.push_back(key);
        return;
    }
    for (int level = 0; level < XkbKeyGroupWidth(xkb, key, 0); ++level) {
        const int modifier = ModifierOfKeysym(XkbKeySymEntry(xkb, key, level, 0));
        if (modifier >= 0) {
            m_modifierKeys[modifier].push_back(key);
            break;
        }
    }
    for (int group = 0; group < GroupCount(); ++group) {
        const int keyGroup = EffectiveGroup(xkb, key, group);
        const XkbKeyTypeRec& type = *XkbKeyKeyType(xkb, key, keyGroup);
        for (int level = 0; level < type.num_levels; ++level) {
            const KeySym keysym = XkbKeySymEntry(xkb, key, level, keyGroup);
            const char32_t character = xkb::CharacterOfKeysym(keysym);
            const auto shiftState = ShiftStateOfLevel(type, level, level3Mask);
            if (character == 0 || !shiftState) {
                continue;
            }
            const KeyScan scan{static_cast<KeyCode>(key), *shiftState, level <= 1 && IsLetterType(type)};
            xkb::KeepFewestModifiers(m_characters[group], character, scan);
            AddForCapsLock(m_capsCharacters[group], type, keysym, character, scan, level, level3Mask);
        }
    }
}

// With Caps Lock on, the typing engine turns Shift round for letters on their first two levels. The
// key counts with the first shift state that, so pressed, still reaches the level, and leaves the
// client no Caps Lock of its own to apply (it would make the keysym a capital).
void Keymap::AddForCapsLock(Characters& characters, const XkbKeyTypeRec& type, KeySym keysym,
                            char32_t character, const KeyScan& scan, int level, unsigned level3Mask) {
    for (const unsigned state : {0u, kShiftBit, kCtrlBit | kAltBit, kShiftBit | kCtrlBit | kAltBit}) {
        if ((state & kCtrlBit) && level3Mask == 0) {
            continue;
        }
        const unsigned pressed = scan.letter && state <= kShiftBit ? state ^ kShiftBit : state;
        const Resolved withCaps = Resolve(type, LockMask | ModifiersOf(pressed, level3Mask));
        if (withCaps.level == level && (withCaps.locksConsumed || xkb_keysym_to_upper(keysym) == keysym)) {
            xkb::KeepFewestModifiers(characters, character, KeyScan{scan.key, state, scan.letter});
            break;
        }
    }
}

std::optional<KeyScan> Keymap::Find(char32_t character, int group, bool capsLock) const {
    if (group < 0 || group >= GroupCount()) {
        return std::nullopt;
    }
    const Characters& characters = (capsLock ? m_capsCharacters : m_characters)[group];
    auto it = characters.find(character);
    return it == characters.end() ? std::nullopt : std::optional<KeyScan>(it->second);
}

KeyCode Keymap::ModifierKey(Modifier modifier) const {
    const auto& keys = KeysOf(modifier);
    return keys.empty() ? 0 : keys.front();
}

const std::vector<KeyCode>& Keymap::KeysOf(Modifier modifier) const {
    return m_modifierKeys[static_cast<int>(modifier)];
}

} // namespace klt::x11
