#pragma once
// Top-level windows of other applications: which one the user works in, bringing one to the front,
// and what the program needs to know about a window it is about to type into.

#include <cstdint>
#include <functional>
#include <string>

namespace klt {

// A top-level window of any application; 0 stands for no window.
using WindowId = std::uint64_t;

class IWindowSystem {
public:
    virtual ~IWindowSystem() = default;

    // The window the user is working in, or 0.
    virtual WindowId ForegroundWindow() = 0;
    // Asks for the window to become the foreground window and waits, for a bounded time, until it
    // has the keyboard focus. False when that did not happen.
    virtual bool SetForegroundWindow(WindowId window) = 0;
    // Whether keys sent now reach the window: it still exists and the keyboard focus is in it. Asked
    // before every key of a paste, so it reads what the window system has said without waiting.
    // Where the window system allows, nothing else can move the focus from then until LetFocusGo(),
    // which is always called next, so that the keys sent in between go where the answer said.
    virtual bool HoldFocus(WindowId window) = 0;
    virtual void LetFocusGo() {}
    // Called once the last key of a text has gone (or the text stopped): gives back what HoldFocus
    // changed for the length of the text.
    virtual void EndTyping() {}
    // False once the window has been destroyed (and for 0).
    virtual bool IsWindow(WindowId window) = 0;
    // The desktop itself (the root window or a window that draws the desktop) or a panel docked at
    // an edge of the screen: windows the program never types into.
    virtual bool IsDesktopOrPanel(WindowId window) = 0;
    // Of those, a panel docked at an edge of the screen: a click on it may take the focus from the
    // window the user worked in.
    virtual bool IsPanel(WindowId window) = 0;
    // The window's title in UTF-8; empty when it has none or no longer exists.
    virtual std::string WindowTitle(WindowId window) = 0;
    // Called from the event loop of the thread that made the service with the new window each time
    // the window manager reports another active window (0 for none); never without a manager.
    virtual void SetActiveWindowCallback(std::function<void(WindowId)> callback) = 0;
};

} // namespace klt
