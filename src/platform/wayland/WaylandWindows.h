#pragma once
// Top-level windows as the compositor lists them to clients: title, application id and whether the
// window is the active one. Window ids are handed out here and never reused; they lie above every
// X11 window id, so the two never meet.

#include "platform/WindowSystem.h"

#include <QObject>
#include <chrono>
#include <map>
#include <string>

struct zwlr_foreign_toplevel_handle_v1;
struct zwlr_foreign_toplevel_manager_v1;

namespace klt::wayland {

class Connection;

class WaylandWindows final : public IWindowSystem {
public:
    static constexpr std::chrono::milliseconds kActivationBound{1000};

    // Toplevels whose application id is ownAppId are the program's own: never the foreground window.
    WaylandWindows(Connection& connection, std::string ownAppId);
    ~WaylandWindows() override;
    WaylandWindows(const WaylandWindows&) = delete;
    WaylandWindows& operator=(const WaylandWindows&) = delete;

    WindowId ForegroundWindow() override;
    bool SetForegroundWindow(WindowId window) override;
    bool HoldFocus(WindowId window) override;
    bool IsWindow(WindowId window) override;
    // Panels and the desktop are no toplevels there.
    bool IsDesktopOrPanel(WindowId) override { return false; }
    bool IsPanel(WindowId) override { return false; }
    std::string WindowTitle(WindowId window) override;
    void SetActiveWindowCallback(std::function<void(WindowId)> callback) override;

private:
    struct Toplevel {
        zwlr_foreign_toplevel_handle_v1* handle = nullptr;
        std::string title, appId;
        bool active = false;
        // What the compositor has sent since its last "done"
        std::string pendingTitle, pendingAppId;
        bool pendingActive = false;
    };
    static void OnToplevel(void* data, zwlr_foreign_toplevel_manager_v1* manager,
                           zwlr_foreign_toplevel_handle_v1* handle);
    void OnDone(WindowId window);
    void OnClosed(WindowId window);
    bool IsOwn(const Toplevel& toplevel) const { return !m_ownAppId.empty() && toplevel.appId == m_ownAppId; }

    Connection& m_connection;
    std::string m_ownAppId;
    std::map<WindowId, Toplevel> m_toplevels;
    WindowId m_nextId;
    std::function<void(WindowId)> m_callback;
    QObject m_context; // queues the reports to the event loop
};

} // namespace klt::wayland
