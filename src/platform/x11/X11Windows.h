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
    // the focus in between.
    bool HoldFocus(WindowId window) override;
    void LetFocusGo() override;
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

    Connection& m_connection;
    std::function<void(WindowId)> m_activeWindowChanged;
};

} // namespace klt::x11
