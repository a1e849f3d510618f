#pragma once
// Windows for tests: a table the test fills, a foreground window it sets, and a record of every
// activation asked for.

#include "platform/WindowSystem.h"

#include <map>
#include <vector>

namespace klt {

class FakeWindowSystem : public IWindowSystem {
public:
    struct Window {
        std::string title;
        bool desktop = false;
        bool panel = false;
    };

    WindowId ForegroundWindow() override { return foreground; }
    bool SetForegroundWindow(WindowId window) override;
    bool HoldFocus(WindowId window) override { return window == foreground && IsWindow(window); }
    bool IsWindow(WindowId window) override { return windows.count(window) != 0; }
    bool IsDesktopOrPanel(WindowId window) override;
    bool IsPanel(WindowId window) override;
    std::string WindowTitle(WindowId window) override;
    void SetActiveWindowCallback(std::function<void(WindowId)> callback) override {
        m_activeWindowChanged = std::move(callback);
    }
    // The user switches to the window: it becomes the foreground window and the change is reported.
    void UserActivates(WindowId window);

    std::map<WindowId, Window> windows; // the windows that exist
    WindowId foreground = 0;
    std::vector<WindowId> activations; // every SetForegroundWindow, in order

private:
    std::function<void(WindowId)> m_activeWindowChanged;
};

} // namespace klt
