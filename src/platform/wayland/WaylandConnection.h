#pragma once
// One connection to the Wayland compositor, shared by the Wayland services, with the globals they
// bind. Its events are read by the Qt event loop of the thread that opened it, and by the services
// themselves when they wait for an answer.

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>

struct wl_display;
struct wl_registry;
struct wl_seat;
struct zwp_virtual_keyboard_manager_v1;
struct zwlr_foreign_toplevel_manager_v1;
struct zwlr_foreign_toplevel_manager_v1_listener;
class QSocketNotifier;

namespace klt::wayland {

class Connection {
public:
    // Null unless $WAYLAND_DISPLAY can be reached and has a seat.
    static std::unique_ptr<Connection> Open();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    wl_display* Display() const { return m_display; }
    wl_seat* Seat() const { return m_seat; }
    // Null where the compositor does not offer them.
    zwp_virtual_keyboard_manager_v1* VirtualKeyboards() const { return m_virtualKeyboards; }
    bool OffersToplevels() const { return m_toplevelsName != 0; }
    // Binds the list of toplevels with its listener in place before anything is read: the compositor
    // announces the windows there are right after the bind, and announcements nobody listens to are
    // lost. Once only; null where the compositor does not offer the list.
    zwlr_foreign_toplevel_manager_v1* BindToplevels(const zwlr_foreign_toplevel_manager_v1_listener& listener,
                                                    void* data);
    // Whether the seat has a keyboard (a seat without one refuses to report keyboard events).
    bool SeatHasKeyboard() const { return m_seatHasKeyboard; }

    // Sends what is queued and handles whatever the compositor has sent so far, without waiting.
    void ProcessPendingEvents();
    // Handles events until the condition holds or the time is up; the condition's last answer.
    bool WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout);
    // Waits until the compositor has handled every request so far; false when the connection broke.
    bool Roundtrip();

private:
    explicit Connection(wl_display* display);
    static void OnGlobal(void* data, wl_registry* registry, unsigned name, const char* interface,
                         unsigned version);
    bool BindGlobals();
    // Reads what has arrived within the timeout and handles it; false when the connection broke.
    bool ReadEvents(std::chrono::milliseconds timeout);

    wl_display* m_display;
    wl_registry* m_registry = nullptr;
    wl_seat* m_seat = nullptr;
    zwp_virtual_keyboard_manager_v1* m_virtualKeyboards = nullptr;
    std::uint32_t m_toplevelsName = 0; // the global's name, 0 where there is none
    zwlr_foreign_toplevel_manager_v1* m_toplevels = nullptr;
    bool m_seatHasKeyboard = false;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

} // namespace klt::wayland
