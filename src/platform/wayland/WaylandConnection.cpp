#include "platform/wayland/WaylandConnection.h"

#include "foreign-toplevel-client.h"
#include "virtual-keyboard-client.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <algorithm>
#include <cstring>
#include <poll.h>
#include <wayland-client.h>

namespace klt::wayland {

std::unique_ptr<Connection> Connection::Open() {
    wl_display* display = wl_display_connect(nullptr);
    if (display == nullptr) {
        return nullptr;
    }
    std::unique_ptr<Connection> connection(new Connection(display));
    if (!connection->BindGlobals()) {
        return nullptr;
    }
    if (QCoreApplication::instance() != nullptr) {
        connection->m_notifier =
            std::make_unique<QSocketNotifier>(wl_display_get_fd(display), QSocketNotifier::Read);
        QObject::connect(connection->m_notifier.get(), &QSocketNotifier::activated,
                         [raw = connection.get()] { raw->ReadEvents(std::chrono::milliseconds(0)); });
    }
    return connection;
}

Connection::Connection(wl_display* display) : m_display(display) {}

Connection::~Connection() {
    m_notifier.reset();
    if (m_toplevels != nullptr) {
        zwlr_foreign_toplevel_manager_v1_destroy(m_toplevels);
    }
    if (m_virtualKeyboards != nullptr) {
        zwp_virtual_keyboard_manager_v1_destroy(m_virtualKeyboards);
    }
    if (m_seat != nullptr) {
        wl_seat_destroy(m_seat);
    }
    if (m_registry != nullptr) {
        wl_registry_destroy(m_registry);
    }
    wl_display_disconnect(m_display);
}

// The first seat is the user's; every protocol is used in its first version.
void Connection::OnGlobal(void* data, wl_registry* registry, unsigned name, const char* interface, unsigned) {
    auto* self = static_cast<Connection*>(data);
    auto bind = [&](auto*& slot, const wl_interface& wanted) {
        if (slot == nullptr && std::strcmp(interface, wanted.name) == 0) {
            slot = static_cast<std::remove_reference_t<decltype(slot)>>(
                wl_registry_bind(registry, name, &wanted, 1));
        }
    };
    bind(self->m_seat, wl_seat_interface);
    bind(self->m_virtualKeyboards, zwp_virtual_keyboard_manager_v1_interface);
    if (self->m_toplevelsName == 0 &&
        std::strcmp(interface, zwlr_foreign_toplevel_manager_v1_interface.name) == 0) {
        self->m_toplevelsName = name;
    }
}

zwlr_foreign_toplevel_manager_v1*
Connection::BindToplevels(const zwlr_foreign_toplevel_manager_v1_listener& listener, void* data) {
    if (m_toplevelsName == 0 || m_toplevels != nullptr) {
        return nullptr;
    }
    m_toplevels = static_cast<zwlr_foreign_toplevel_manager_v1*>(
        wl_registry_bind(m_registry, m_toplevelsName, &zwlr_foreign_toplevel_manager_v1_interface, 1));
    zwlr_foreign_toplevel_manager_v1_add_listener(m_toplevels, &listener, data);
    return m_toplevels;
}

bool Connection::BindGlobals() {
    static const wl_registry_listener kListener{&Connection::OnGlobal,
                                                [](void*, wl_registry*, std::uint32_t) {}};
    m_registry = wl_display_get_registry(m_display);
    wl_registry_add_listener(m_registry, &kListener, this);
    if (!Roundtrip() || m_seat == nullptr) {
        return false;
    }
    static const wl_seat_listener kSeatListener{
        [](void* data, wl_seat*, std::uint32_t capabilities) {
            static_cast<Connection*>(data)->m_seatHasKeyboard =
                (capabilities & WL_SEAT_CAPABILITY_KEYBOARD) != 0;
        },
        [](void*, wl_seat*, const char*) {},
    };
    wl_seat_add_listener(m_seat, &kSeatListener, this);
    return Roundtrip();
}

bool Connection::Roundtrip() {
    return wl_display_roundtrip(m_display) >= 0;
}

void Connection::ProcessPendingEvents() {
    ReadEvents(std::chrono::milliseconds(0));
}

bool Connection::ReadEvents(std::chrono::milliseconds timeout) {
    // Events another reader already queued are handled first; reading needs an empty queue.
    while (wl_display_prepare_read(m_display) != 0) {
        if (wl_display_dispatch_pending(m_display) < 0) {
            return false;
        }
    }
    wl_display_flush(m_display);
    pollfd descriptor{wl_display_get_fd(m_display), POLLIN, 0};
    if (poll(&descriptor, 1, static_cast<int>(timeout.count())) > 0 && (descriptor.revents & POLLIN) != 0) {
        if (wl_display_read_events(m_display) < 0) {
            return false;
        }
    } else {
        wl_display_cancel_read(m_display);
    }
    return wl_display_dispatch_pending(m_display) >= 0;
}

bool Connection::WaitUntil(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    using Clock = std::chrono::steady_clock;
    const auto end = Clock::now() + timeout;
    ProcessPendingEvents();
    while (!condition()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(end - Clock::now());
        if (left.count() <= 0 || !ReadEvents(left)) {
            return condition();
        }
    }
    return true;
}

} // namespace klt::wayland
