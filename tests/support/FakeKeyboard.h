#pragma once
// A keyboard for tests: a small US-like layout, modifiers and Caps Lock the test sets, and a record
// of every key event sent, one readable line each ("+Shift", "+k38", "-k38", "-Shift").

#include "platform/Keyboard.h"

#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace klt {

class FakeKeyboard : public IKeyboard {
public:
    // Letters a-z on keys 38.. (capitals with Shift, letter keys), digits on keys 10.., space on 65,
    // '!' as Shift+1, and '@' and the euro sign on AltGr as on many European layouts.
    FakeKeyboard();

    bool IsModifierDown(Modifier modifier) override;
    bool IsCapsLockOn() override { return capsLock; }
    std::optional<KeyScan> LookUp(char32_t character) override;
    void SendKey(KeyCode key, bool down) override;
    void SendModifier(Modifier modifier, bool down) override;
    void BeginText(std::u32string_view characters) override { announced = characters; }
    void EndText() override { ++textsEnded; }

    std::map<char32_t, KeyScan> layout;
    std::set<Modifier> held; // modifiers the user holds
    bool capsLock = false;
    std::u32string announced; // the characters of the last text begun
    int textsEnded = 0;
    std::vector<std::string> events;       // key events sent
    std::vector<Modifier> modifierQueries; // every IsModifierDown, in order
    std::function<void()> onModifierQuery; // runs before each answer
    std::function<void()> onKey;           // runs after each key (not modifier) sent
};

} // namespace klt
