#pragma once
// Types a text into whichever window has the keyboard focus: one key press and release per character,
// wrapped in the modifier presses that the current layout needs for it.

#include "platform/Keyboard.h"
#include "platform/WindowSystem.h"

#include <string_view>

namespace klt {

class KeystrokeTyper {
public:
    explicit KeystrokeTyper(IKeyboard& keyboard) : m_keyboard(keyboard) {}

    // Waits, with the event loop running, until the user has let go of Alt, Shift and Ctrl, handles
    // the events still waiting, then types the text's characters in one burst. 1 when the text was
    // sent; 0 when the application was asked to quit meanwhile: then nothing is typed and the request
    // stays in force, so the main loop still ends. With a target window, each character goes out only
    // while the target holds the focus, asked just before, with the focus held there until its keys
    // have gone; once it does not, nothing more is typed and the text still ends, so that lent keys
    // and the user's keymap are given back.
    int TypeText(std::string_view text, IWindowSystem* pWindows = nullptr, WindowId target = 0);
    // How many characters of the last text the keyboard could not produce; they were left out.
    int UntypedCount() const { return m_untyped; }
    // Whether the last text stopped early because its window no longer took the keys; then how many of
    // its characters were done (typed or left out) and how many it had.
    bool Stopped() const { return m_done < m_length; }
    int DoneCount() const { return m_done; }
    int Length() const { return m_length; }

private:
    bool WaitForReleasedModifiers();
    bool AnyModifierDown();
    void TypeCharacter(char32_t character);

    IKeyboard& m_keyboard;
    int m_untyped = 0;
    int m_done = 0;
    int m_length = 0;
};

} // namespace klt
