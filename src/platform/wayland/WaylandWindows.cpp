#include "platform/wayland/WaylandWindows.h"

#include "foreign-toplevel-client.h"
#include "platform/wayland/WaylandConnection.h"

#include <QTimer>
#include <cstring>
#include <wayland-client.h>

namespace klt::wayland {

namespace {

constexpr WindowId kFirstId = WindowId{1} << 40;
constexpr std::uint32_t kActivated = 2; // in a toplevel's state array

// The handle's user data: the list it belongs to, and its id there.
struct HandleData {
    WaylandWindows* windows;
    WindowId id;
};

} // namespace

WaylandWindows::WaylandWindows(Connection& connection, std::string ownAppId)
    : m_connection(connection), m_ownAppId(std::move(ownAppId)), m_nextId(kFirstId) {
    static const zwlr_foreign_toplevel_manager_v1_listener kListener{
        &WaylandWindows::OnToplevel,
        [](void*, zwlr_foreign_toplevel_manager_v1*) {},
    };
    connection.BindToplevels(kListener, this);
    connection.Roundtrip();
    connection.Roundtrip(); // the toplevels' own events follow their announcement
}

WaylandWindows::~WaylandWindows() {
    for (auto& [id, toplevel] : m_toplevels) {
        delete static_cast<HandleData*>(zwlr_foreign_toplevel_handle_v1_get_user_data(toplevel.handle));
        zwlr_foreign_toplevel_handle_v1_destroy(toplevel.handle);
    }
}

void WaylandWindows::OnToplevel(void* data, zwlr_foreign_toplevel_manager_v1*,
                                zwlr_foreign_toplevel_handle_v1* handle) {
    static const zwlr_foreign_toplevel_handle_v1_listener kListener{
        [](void* data, zwlr_foreign_toplevel_handle_v1*, const char* title) {
            auto* handleData = static_cast<HandleData*>(data);
            handleData->windows->m_toplevels[handleData->id].pendingTitle = title;
        },
        [](void* data, zwlr_foreign_toplevel_handle_v1*, const char* appId) {
            auto* handleData = static_cast<HandleData*>(data);
            handleData->windows->m_toplevels[handleData->id].pendingAppId = appId;
        },
        [](void*, zwlr_foreign_toplevel_handle_v1*, wl_output*) {},
        [](void*, zwlr_foreign_toplevel_handle_v1*, wl_output*) {},
        [](void* data, zwlr_foreign_toplevel_handle_v1*, wl_array* states) {
            auto* handleData = static_cast<HandleData*>(data);
            bool active = false;
            const auto* state = static_cast<const std::uint32_t*>(states->data);
            for (size_t i = 0; i < states->size / sizeof(std::uint32_t); ++i) {
                active = active || state[i] == kActivated;
            }
            handleData->windows->m_toplevels[handleData->id].pendingActive = active;
        },
        [](void* data, zwlr_foreign_toplevel_handle_v1*) {
            auto* handleData = static_cast<HandleData*>(data);
            handleData->windows->OnDone(handleData->id);
        },
        [](void* data, zwlr_foreign_toplevel_handle_v1*) {
            auto* handleData = static_cast<HandleData*>(data);
            handleData->windows->OnClosed(handleData->id);
        },
    };
    auto* self = static_cast<WaylandWindows*>(data);
    const WindowId id = self->m_nextId++;
    self->m_toplevels[id].handle = handle;
    zwlr_foreign_toplevel_handle_v1_add_listener(handle, &kListener, new HandleData{self, id});
}

void WaylandWindows::OnDone(WindowId window) {
    Toplevel& toplevel = m_toplevels[window];
    const bool activated = toplevel.pendingActive && !toplevel.active;
    toplevel.title = toplevel.pendingTitle;
    toplevel.appId = toplevel.pendingAppId;
    toplevel.active = toplevel.pendingActive;
    if (activated && m_callback && !IsOwn(toplevel)) {
        // Reported from the event loop, never from inside a call that waits for the compositor.
        QTimer::singleShot(0, &m_context, [this, window] {
            if (m_callback) {
                m_callback(window);
            }
        });
    }
}

void WaylandWindows::OnClosed(WindowId window) {
    const auto it = m_toplevels.find(window);
    delete static_cast<HandleData*>(zwlr_foreign_toplevel_handle_v1_get_user_data(it->second.handle));
    zwlr_foreign_toplevel_handle_v1_destroy(it->second.handle);
    m_toplevels.erase(it);
}

WindowId WaylandWindows::ForegroundWindow() {
    m_connection.ProcessPendingEvents();
    for (const auto& [id, toplevel] : m_toplevels) {
        if (toplevel.active && !IsOwn(toplevel)) {
            return id;
        }
    }
    return 0;
}

bool WaylandWindows::SetForegroundWindow(WindowId window) {
    const auto it = m_toplevels.find(window);
    if (it == m_toplevels.end()) {
        return false;
    }
    zwlr_foreign_toplevel_handle_v1_activate(it->second.handle, m_connection.Seat());
    // The state may still read active from before one of our windows took the focus: only once the
    // compositor has handled the request is the keyboard the window's, and keys sent from then on
    // reach it.
    m_connection.Roundtrip();
    return m_connection.WaitUntil(
        [&] {
            const auto found = m_toplevels.find(window);
            return found != m_toplevels.end() && found->second.active;
        },
        kActivationBound);
}

// Once the compositor has answered, every key sent before has been handed out and what it did since
// has been heard: a window closed just before the last key is known before the next one goes.
bool WaylandWindows::HoldFocus(WindowId window) {
    m_connection.Roundtrip();
    const auto it = m_toplevels.find(window);
    return it != m_toplevels.end() && it->second.active;
}

bool WaylandWindows::IsWindow(WindowId window) {
    m_connection.ProcessPendingEvents();
    return m_toplevels.contains(window);
}

std::string WaylandWindows::WindowTitle(WindowId window) {
    m_connection.ProcessPendingEvents();
    const auto it = m_toplevels.find(window);
    return it != m_toplevels.end() ? it->second.title : std::string();
}

void WaylandWindows::SetActiveWindowCallback(std::function<void(WindowId)> callback) {
    m_callback = std::move(callback);
}

} // namespace klt::wayland
