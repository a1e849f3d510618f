#include "platform/wayland/SeatKeymap.h"

#include "platform/wayland/WaylandConnection.h"

#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

namespace klt::wayland {

namespace {

// Every keyboard layout types the ten digits; a typing tool's keymap with a few keys does not.
bool IsLayout(const xkb::Keymap& keymap) {
    for (char32_t digit = U'0'; digit <= U'9'; ++digit) {
        if (!keymap.Find(digit)) {
            return false;
        }
    }
    return true;
}

} // namespace

SeatKeymap::SeatKeymap(Connection& connection, std::function<bool(std::string_view)> isOwn)
    : m_connection(connection), m_isOwn(std::move(isOwn)) {
    Listen();
}

SeatKeymap::~SeatKeymap() {
    if (m_keyboard != nullptr) {
        wl_keyboard_destroy(m_keyboard);
    }
}

void SeatKeymap::Listen() {
    static const wl_keyboard_listener kListener{
        &SeatKeymap::OnKeymap,
        [](void*, wl_keyboard*, std::uint32_t, wl_surface*, wl_array*) {},
        [](void*, wl_keyboard*, std::uint32_t, wl_surface*) {},
        [](void*, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t) {},
        [](void*, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t) {},
        [](void*, wl_keyboard*, std::int32_t, std::int32_t) {},
    };
    m_connection.ProcessPendingEvents();
    if (m_keyboard == nullptr && m_connection.SeatHasKeyboard()) {
        m_keyboard = wl_seat_get_keyboard(m_connection.Seat());
        wl_keyboard_add_listener(m_keyboard, &kListener, this);
        m_connection.Roundtrip(); // the keymap comes at once
    }
}

void SeatKeymap::OnKeymap(void* data, wl_keyboard*, unsigned format, int fd, unsigned size) {
    auto* self = static_cast<SeatKeymap*>(data);
    void* mapped = format == WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1 && size > 0
                       ? mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0)
                       : MAP_FAILED;
    close(fd);
    if (mapped == MAP_FAILED) {
        return;
    }
    std::string_view text(static_cast<const char*>(mapped), size);
    text = text.substr(0, text.find('\0')); // the shared text ends with a NUL
    // Compared as the compositor's text of the compiled keymap: it may spell what it was given anew.
    auto keymap = xkb::Keymap::FromText(text);
    if (keymap != nullptr && IsLayout(*keymap) && !(self->m_isOwn && self->m_isOwn(keymap->Text()))) {
        self->m_keymap = std::move(keymap);
    }
    munmap(mapped, size);
}

} // namespace klt::wayland
