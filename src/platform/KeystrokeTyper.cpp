#include "platform/KeystrokeTyper.h"

#include "store/SecretMemory.h"
#include "store/TextCodec.h"

#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <vector>

namespace klt {

namespace {

// The modifiers of a shift state in the order they are pressed and released. Ctrl+Alt is how Windows
// spells AltGr; here it is the level-3 shift key.
std::vector<Modifier> ModifiersOf(unsigned shiftState) {
    std::vector<Modifier> modifiers;
    if (shiftState & kShiftBit) {
        modifiers.push_back(Modifier::shift);
    }
    if ((shiftState & (kCtrlBit | kAltBit)) == (kCtrlBit | kAltBit)) {
        modifiers.push_back(Modifier::altGr);
    } else {
        if (shiftState & kCtrlBit) {
            modifiers.push_back(Modifier::ctrl);
        }
        if (shiftState & kAltBit) {
            modifiers.push_back(Modifier::alt);
        }
    }
    return modifiers;
}

} // namespace

int KeystrokeTyper::TypeText(std::string_view text, IWindowSystem* pWindows, WindowId target) {
    m_untyped = 0;
    m_done = 0;
    m_length = 0;
    if (!WaitForReleasedModifiers()) {
        return 0;
    }
    std::u32string characters = DecodeText(text);
    characters.resize(std::min(characters.size(), characters.find(U'\0')));
    m_length = static_cast<int>(characters.size());
    m_keyboard.BeginText(characters);
    // Every modifier a character presses is released with it: between characters Keyloft holds no key.
    for (char32_t character : characters) {
        const bool held = pWindows == nullptr || pWindows->HoldFocus(target);
        if (held) {
            TypeCharacter(character);
            ++m_done;
        }
        if (pWindows != nullptr) {
            pWindows->LetFocusGo();
        }
        if (!held) {
            break;
        }
    }
    if (pWindows != nullptr) {
        pWindows->EndTyping();
    }
    m_keyboard.EndText();
    klt::Wipe(characters);
    return 1;
}

// Asked in this order, and no further once one of them is down.
bool KeystrokeTyper::AnyModifierDown() {
    return m_keyboard.IsModifierDown(Modifier::alt) || m_keyboard.IsModifierDown(Modifier::shift) ||
           m_keyboard.IsModifierDown(Modifier::ctrl);
}

// Runs a nested loop that asks for the modifiers between rounds of event handling, without pausing,
// then handles the events that are still waiting.
// QCoreApplication::exit (also through quit() or a QEvent::Quit) ends every running loop, this one and
// the main loop alike: this loop then stops before its own exit, which is how a quit is told from the
// end of the wait, and the main loop still ends once control gets back to it.
bool KeystrokeTyper::WaitForReleasedModifiers() {
    QEventLoop loop;
    QTimer round;
    round.setInterval(0);
    bool released = false;
    QObject::connect(&round, &QTimer::timeout, &loop, [&] {
        if (AnyModifierDown()) {
            return;
        }
        round.stop();
        // One pass handles what is waiting now; a timer that is always due cannot keep it going.
        loop.processEvents(QEventLoop::AllEvents);
        released = loop.isRunning();
        loop.exit();
    });
    round.start();
    loop.exec();
    return released;
}

void KeystrokeTyper::TypeCharacter(char32_t character) {
    const auto scan = m_keyboard.LookUp(character);
    if (!scan) {
        ++m_untyped;
        return;
    }
    unsigned shiftState = scan->shiftState;
    // Caps Lock would turn the letter's case round; Shift turns it back.
    if (scan->letter && shiftState <= kShiftBit && m_keyboard.IsCapsLockOn()) {
        shiftState ^= kShiftBit;
    }
    const auto modifiers = ModifiersOf(shiftState);
    for (Modifier modifier : modifiers) {
        m_keyboard.SendModifier(modifier, true);
    }
    m_keyboard.SendKey(scan->key, true);
    m_keyboard.SendKey(scan->key, false);
    for (Modifier modifier : modifiers) {
        m_keyboard.SendModifier(modifier, false);
    }
    m_keyboard.EndCharacter();
}

} // namespace klt
