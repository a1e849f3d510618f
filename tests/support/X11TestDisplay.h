#pragma once
// The tests' own connection to the virtual display: it plays the user and the other programs
// (layouts, Caps Lock, keys pressed, a rival hot key) and watches windows appear.

#include "platform/WindowSystem.h"
#include "support/WaitUntil.h"

#include <chrono>
#include <functional>
#include <string>

struct _XDisplay;

namespace klt::test {

class X11TestDisplay {
public:
    X11TestDisplay();
    ~X11TestDisplay();
    X11TestDisplay(const X11TestDisplay&) = delete;
    X11TestDisplay& operator=(const X11TestDisplay&) = delete;

    // setxkbmap with the given layouts, "us" or "us,ru".
    static bool SetLayout(const std::string& layouts);
    void SetCapsLock(bool on);
    void SetNumLock(bool on);
    void LockGroup(int group);

    // A viewable window whose title is the given one, waited for; 0 when none appeared in time.
    // The callback runs between looks, to keep an event loop of the caller going.
    WindowId WaitForWindow(const std::string& title, const std::function<void()>& whileWaiting = {});
    // The window with the input focus.
    WindowId FocusWindow();
    bool HasWindowManager();

    // Presses or releases a key (by keysym), as the user holding it down or letting go.
    void SetKey(unsigned long keysym, bool down);
    // Presses and releases a key (by keysym) with modifier keys (by keysym) held around it.
    void Tap(unsigned long keysym, std::initializer_list<unsigned long> modifiers = {});
    // The keysym on the first level of the key's first group as the server has it now; 0 for none.
    unsigned long KeysymOf(unsigned key);
    // Takes a key combination for this connection, as another program would; false when refused.
    bool GrabKey(unsigned long keysym, unsigned modifierMask);

    _XDisplay* Handle() const { return m_display; }

private:
    _XDisplay* m_display;
};

} // namespace klt::test
