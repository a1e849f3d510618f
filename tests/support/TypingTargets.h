#pragma once
// Real windows of three toolkits that receive typed text, each in a process of its own: a Qt line edit
// and a GTK entry (zenity), which print their text when Return confirms it, and xterm in raw mode,
// which passes on every byte it gets.

#include "WindowSystem.h"
#include "X11TestDisplay.h"

#include <functional>
#include <memory>
#include <string>

namespace klt::test {

class TypingTarget {
public:
    virtual ~TypingTarget() = default;
    // The target's top-level window, 0 when it did not come up.
    virtual WindowId Window() const = 0;
    // What arrived, in UTF-8, once the expected text has or the wait has run out.
    virtual std::string Received(const std::string& expected, std::chrono::milliseconds bound = kBound) = 0;
};

// For the entries, Received() confirms the text with Return, typed through the given callback.
std::unique_ptr<TypingTarget> StartQtLineEdit(X11TestDisplay& display, std::function<void()> pressReturn);
std::unique_ptr<TypingTarget> StartGtkEntry(X11TestDisplay& display, std::function<void()> pressReturn);
std::unique_ptr<TypingTarget> StartXterm(X11TestDisplay& display);

} // namespace klt::test
