#pragma once
// The windows of a desktop that shows clients none of them. One pseudo window stands for the window
// that was active when the paste began; bringing it to the front means letting the focus go back to
// whichever window takes it once the program's own windows have let it go.

#include "platform/WindowSystem.h"

namespace klt::portal {

class PortalWindows final : public IWindowSystem {
public:
    // Not an X11 window id: those never have their top three bits set.
    static constexpr WindowId kActiveWindow = 0xFFFFFFFFu;

    // The pseudo window, or 0 while one of the program's own windows has the focus.
    WindowId ForegroundWindow() override;
    // Waits, for a bounded time, until none of the program's windows has the focus.
    bool SetForegroundWindow(WindowId window) override;
    // The desktop tells nothing of other windows: only a focus taken by one of the program's own
    // windows shows.
    bool HoldFocus(WindowId window) override;
    bool IsWindow(WindowId window) override { return window == kActiveWindow; }
    bool IsDesktopOrPanel(WindowId /*window*/) override { return false; }
    bool IsPanel(WindowId /*window*/) override { return false; }
    std::string WindowTitle(WindowId window) override;
    // The desktop reports no changes of the active window.
    void SetActiveWindowCallback(std::function<void(WindowId)> /*callback*/) override {}
};

} // namespace klt::portal
