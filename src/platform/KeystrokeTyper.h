#pragma once
// Types a text into whichever window has the keyboard focus: one key press and release per character,
// wrapped in the modifier presses that the current layout needs for it.

#include "platform/Keyboard.h"

#include <string_view>

namespace klt {

class KeystrokeTyper {
public:
    explicit KeystrokeTyper(IKeyboard& keyboard) : m_keyboard(keyboard) {}

    // Waits, with the event loop running, until the user has let go of Alt, Shift and Ctrl, handles
    // the events still waiting, then types the text's characters in one burst. 1 when the text was
    // sent; 0 when the application was asked to quit meanwhile: then nothing is typed and the request
    // stays in force, so the main loop still ends.
    int TypeText(std::string_view text);
    // How many characters of the last text the keyboard could not produce; they were left out.
    int UntypedCount() const { return m_untyped; }

private:
    bool WaitForReleasedModifiers();
    bool AnyModifierDown();
    void TypeCharacter(char32_t character);

    IKeyboard& m_keyboard;
    int m_untyped = 0;
};

} // namespace klt
