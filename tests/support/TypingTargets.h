#pragma once
// Real windows that receive typed text, each in a process of its own: a Qt line edit and a GTK entry
// (zenity), which print their text when Return confirms it, and xterm or foot (a Wayland terminal) in
// raw mode, which pass on every byte they get.

#include "platform/WindowSystem.h"
#include "support/X11TestDisplay.h"

#include <functional>
#include <memory>
#include <string>

namespace klt::test {

class TypingTarget {
public:
    virtual ~TypingTarget() = default;
    // The target's top-level window, 0 when it did not come up.
    virtual WindowId Window() const = 0;
    // Its title, which no other window has.
    virtual const std::string& Title() const = 0;
    // What arrived, in UTF-8, once the expected text has or the wait has run out.
    virtual std::string Received(const std::string& expected, std::chrono::milliseconds bound = kBound) = 0;
};

// Waits, within the bound, for a shown top-level window with exactly this title; 0 when none came.
using WindowFinder = std::function<WindowId(const std::string& title)>;
inline WindowFinder WindowsOf(X11TestDisplay& display) {
    return [&display](const std::string& title) { return display.WaitForWindow(title); };
}

// For the entries, Received() confirms the text with Return, typed through the given callback. They
// run on the platform given ("xcb", "wayland").
std::unique_ptr<TypingTarget> StartQtLineEdit(const WindowFinder& find, std::function<void()> pressReturn,
                                              const char* platform = "xcb");
std::unique_ptr<TypingTarget> StartGtkEntry(const WindowFinder& find, std::function<void()> pressReturn,
                                            const char* platform = "xcb");
std::unique_ptr<TypingTarget> StartXterm(const WindowFinder& find);
std::unique_ptr<TypingTarget> StartFoot(const WindowFinder& find);

} // namespace klt::test
