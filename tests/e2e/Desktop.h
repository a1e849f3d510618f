#pragma once
// The test's view of the virtual display and its hands on it: it watches the program's windows
// appear, change their titles, come to the front and go away (waiting for the display's events,
// within a bound), and types through xdotool as a user would.

#include "support/WaitUntil.h"

#include <chrono>
#include <string>
#include <vector>

struct _XDisplay;

namespace klt::e2e {

using namespace std::chrono_literals;
using test::kBound;

using Window = unsigned long;

class Desktop {
public:
    Desktop();
    ~Desktop();
    Desktop(const Desktop&) = delete;
    Desktop& operator=(const Desktop&) = delete;

    // A viewable top-level window with exactly this title; 0 when none appeared in time.
    Window WaitForWindow(const std::string& title);
    // The same, once it is also the active window, ready for keys; 0 when that did not happen in time.
    Window WaitForActiveWindow(const std::string& title);
    // True once the window is no longer viewable (also when it is destroyed).
    bool WaitUntilHidden(Window window);
    bool IsShown(Window window);
    // Whether the window manager keeps the window minimised (WM_STATE Iconic).
    bool IsIconic(Window window);
    // The viewable top-level windows of the program (their class is "keyloft").
    std::vector<Window> ProgramWindows();
    // A viewable window of the program other than those given (a popup menu); 0 when none came.
    Window WaitForProgramWindowBesides(const std::vector<Window>& known);
    // The window the window manager made active; waits until it is the given one, within the bound.
    bool WaitUntilActive(Window window);
    Window ActiveWindow();

    // Keys ("Return", "alt+n", "Insert") and text, sent to the window that has the focus.
    static void Key(const std::string& keys);
    static void Type(const std::string& text);
    static void Activate(Window window);
    static void Minimize(Window window);
    // Asks the window manager to close the window, as its close button does (WM_DELETE_WINDOW),
    // whichever window has the keyboard focus.
    void Close(Window window);

private:
    // Waits for the next burst of events, at most until the deadline; false once it has passed.
    bool WaitForEvents(std::chrono::steady_clock::time_point deadline);

    _XDisplay* m_display;
};

} // namespace klt::e2e
