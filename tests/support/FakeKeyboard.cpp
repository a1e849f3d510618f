#include "support/FakeKeyboard.h"

namespace klt {

namespace {

const char* NameOf(Modifier modifier) {
    switch (modifier) {
    case Modifier::shift:
        return "Shift";
    case Modifier::ctrl:
        return "Ctrl";
    case Modifier::alt:
        return "Alt";
    case Modifier::altGr:
        return "AltGr";
    }
    return "?";
}

} // namespace

FakeKeyboard::FakeKeyboard() {
    for (char32_t c = U'a'; c <= U'z'; ++c) {
        layout[c] = {38 + static_cast<KeyCode>(c - U'a'), 0, true};
        layout[c - U'a' + U'A'] = {38 + static_cast<KeyCode>(c - U'a'), kShiftBit, true};
    }
    for (char32_t c = U'0'; c <= U'9'; ++c) {
        layout[c] = {10 + static_cast<KeyCode>(c - U'0'), 0, false};
    }
    layout[U' '] = {65, 0, false};
    layout[U'!'] = {11, kShiftBit, false};
    layout[U'@'] = {24, kCtrlBit | kAltBit, false};
    layout[U'€'] = {26, kCtrlBit | kAltBit, false};
}

bool FakeKeyboard::IsModifierDown(Modifier modifier) {
    modifierQueries.push_back(modifier);
    if (onModifierQuery) {
        onModifierQuery();
    }
    return held.count(modifier) != 0;
}

std::optional<KeyScan> FakeKeyboard::LookUp(char32_t character) {
    auto it = layout.find(character);
    return it == layout.end() ? std::nullopt : std::optional<KeyScan>(it->second);
}

void FakeKeyboard::SendKey(KeyCode key, bool down) {
    events.push_back((down ? "+k" : "-k") + std::to_string(key));
    if (onKey) {
        onKey();
    }
}

void FakeKeyboard::SendModifier(Modifier modifier, bool down) {
    events.push_back((down ? "+" : "-") + std::string(NameOf(modifier)));
}

} // namespace klt
