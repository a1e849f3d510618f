#pragma once
// Top-level windows through EWMH (_NET_ACTIVE_WINDOW) when a window manager provides it, and through
// the input focus when none does.

#include "platform/WindowSystem.h"

#include <chrono>

namespace klt::x11 {

class Connection;

class X11Windows final : public IWindowSystem {
public:
    static constexpr std::chrono::milliseconds kActivationTimeout{2000};

    explicit X11Windows(Connection& connection);

    WindowId ForegroundWindow() override;
    bool SetForegroundWindow(WindowId window) override;
    // No other client is served from the answer until LetFocusGo: the window manager cannot move
    // the focus in between. The server itself still can, when the target's client dies and it
    // destroys its windows: the focus window is told to leave the focus to nobody in that case, so
    // that a key sent after it goes nowhere; EndTyping gives it back its own rule.
    bool HoldFocus(WindowId window) override;
    void LetFocusGo() override;
    void EndTyping() override;
    bool IsWindow(WindowId window) override;
    bool IsDesktopOrPanel(WindowId window) override;
    bool IsPanel(WindowId window) override;
    std::string WindowTitle(WindowId window) override;
    void SetActiveWindowCallback(std::function<void(WindowId)> callback) override;

private:
    bool HasEwmhManager();
    WindowId ActiveWindowProperty();
    WindowId FocusTopLevel();
    bool HasFocusWithin(WindowId window);
    bool IsWithin(unsigned long window, WindowId target);
    unsigned long ServerTime();

    Connection& m_connection;
    std::function<void(WindowId)> m_activeWindowChanged;
    unsigned long m_clock = 0; // a window of our own whose property changes tell the server's time
    // The focus window of the text being typed, the rule it had for where the focus goes when it is
    // destroyed, and the server time of the change.
    unsigned long m_lentFocus = 0;
    int m_ownRevert = 0;
    unsigned long m_lentSince = 0;
};

} // namespace klt::x11
