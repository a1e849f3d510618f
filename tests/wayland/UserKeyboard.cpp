#include "wayland/UserKeyboard.h"

#include "virtual-keyboard-client.h"

#include <cstring>
#include <poll.h>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>
#include <xkbcommon/xkbcommon.h>

namespace klt::wayland_test {

struct UserKeyboard::Session {
    wl_display* display = nullptr;
    wl_registry* registry = nullptr;
    wl_seat* seat = nullptr;
    wl_keyboard* keyboard = nullptr;
    zwp_virtual_keyboard_manager_v1* manager = nullptr;
    zwp_virtual_keyboard_v1* virtualKeyboard = nullptr;
    xkb_context* context = nullptr;
    xkb_keymap* keymap = nullptr;
    xkb_state* state = nullptr;
    std::vector<std::string> keymaps;
    std::uint32_t time = 0;

    ~Session() {
        if (virtualKeyboard != nullptr) {
            zwp_virtual_keyboard_v1_destroy(virtualKeyboard);
        }
        if (keyboard != nullptr) {
            wl_keyboard_destroy(keyboard);
        }
        if (manager != nullptr) {
            zwp_virtual_keyboard_manager_v1_destroy(manager);
        }
        if (seat != nullptr) {
            wl_seat_destroy(seat);
        }
        if (registry != nullptr) {
            wl_registry_destroy(registry);
        }
        if (display != nullptr) {
            wl_display_roundtrip(display);
            wl_display_disconnect(display);
        }
        xkb_state_unref(state);
        xkb_keymap_unref(keymap);
        xkb_context_unref(context);
    }

    void SendKey(std::uint32_t key, bool down) {
        zwp_virtual_keyboard_v1_key(virtualKeyboard, ++time, key,
                                    down ? WL_KEYBOARD_KEY_STATE_PRESSED : WL_KEYBOARD_KEY_STATE_RELEASED);
        xkb_state_update_key(state, key + 8, down ? XKB_KEY_DOWN : XKB_KEY_UP);
        zwp_virtual_keyboard_v1_modifiers(virtualKeyboard,
                                          xkb_state_serialize_mods(state, XKB_STATE_MODS_DEPRESSED),
                                          xkb_state_serialize_mods(state, XKB_STATE_MODS_LATCHED),
                                          xkb_state_serialize_mods(state, XKB_STATE_MODS_LOCKED),
                                          xkb_state_serialize_layout(state, XKB_STATE_LAYOUT_EFFECTIVE));
    }

    // Uploads the user's keymap, as the compositor gives it to every client: a file of text that ends
    // with a zero byte.
    bool UploadKeymap(const std::string& layout) {
        const xkb_rule_names names{nullptr, nullptr, layout.c_str(), nullptr, nullptr};
        keymap = xkb_keymap_new_from_names(context, &names, XKB_KEYMAP_COMPILE_NO_FLAGS);
        if (keymap == nullptr) {
            return false;
        }
        state = xkb_state_new(keymap);
        char* text = xkb_keymap_get_as_string(keymap, XKB_KEYMAP_FORMAT_TEXT_V1);
        const size_t size = std::strlen(text) + 1;
        const int fd = memfd_create("user-keymap", MFD_CLOEXEC);
        const bool bWritten = fd >= 0 && write(fd, text, size) == static_cast<ssize_t>(size);
        std::free(text);
        if (bWritten) {
            zwp_virtual_keyboard_v1_keymap(virtualKeyboard, WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1, fd,
                                           static_cast<std::uint32_t>(size));
        }
        if (fd >= 0) {
            close(fd);
        }
        return bWritten;
    }
};

namespace {

using Session = UserKeyboard::Session;

void OnKeymap(void* data, wl_keyboard*, std::uint32_t, int fd, std::uint32_t size) {
    void* text = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
    if (text != MAP_FAILED) {
        static_cast<Session*>(data)->keymaps.emplace_back(static_cast<const char*>(text),
                                                          strnlen(static_cast<const char*>(text), size));
        munmap(text, size);
    }
    close(fd);
}

const wl_keyboard_listener kKeyboardListener{
    OnKeymap,
    [](void*, wl_keyboard*, std::uint32_t, wl_surface*, wl_array*) {},
    [](void*, wl_keyboard*, std::uint32_t, wl_surface*) {},
    [](void*, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t) {},
    [](void*, wl_keyboard*, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t, std::uint32_t) {},
    [](void*, wl_keyboard*, std::int32_t, std::int32_t) {},
};

// The seat has a keyboard once ours is in it; from then on, this client is told each keymap.
const wl_seat_listener kSeatListener{
    [](void* data, wl_seat* seat, std::uint32_t capabilities) {
        auto* session = static_cast<Session*>(data);
        if ((capabilities & WL_SEAT_CAPABILITY_KEYBOARD) != 0 && session->keyboard == nullptr) {
            session->keyboard = wl_seat_get_keyboard(seat);
            wl_keyboard_add_listener(session->keyboard, &kKeyboardListener, session);
        }
    },
    [](void*, wl_seat*, const char*) {},
};

const wl_registry_listener kRegistryListener{
    [](void* data, wl_registry* registry, std::uint32_t name, const char* interface, std::uint32_t version) {
        auto* session = static_cast<Session*>(data);
        if (std::strcmp(interface, wl_seat_interface.name) == 0 && session->seat == nullptr) {
            session->seat = static_cast<wl_seat*>(
                wl_registry_bind(registry, name, &wl_seat_interface, std::min(version, 5u)));
            wl_seat_add_listener(session->seat, &kSeatListener, session);
        } else if (std::strcmp(interface, zwp_virtual_keyboard_manager_v1_interface.name) == 0) {
            session->manager = static_cast<zwp_virtual_keyboard_manager_v1*>(
                wl_registry_bind(registry, name, &zwp_virtual_keyboard_manager_v1_interface, 1));
        }
    },
    [](void*, wl_registry*, std::uint32_t) {},
};

} // namespace

UserKeyboard::UserKeyboard(const std::string& layout) : m_session(std::make_unique<Session>()) {
    Session& s = *m_session;
    s.display = wl_display_connect(nullptr);
    s.context = xkb_context_new(XKB_CONTEXT_NO_FLAGS);
    if (s.display == nullptr || s.context == nullptr) {
        return;
    }
    s.registry = wl_display_get_registry(s.display);
    wl_registry_add_listener(s.registry, &kRegistryListener, &s);
    wl_display_roundtrip(s.display);
    if (s.seat == nullptr || s.manager == nullptr) {
        return;
    }
    s.virtualKeyboard = zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(s.manager, s.seat);
    if (s.UploadKeymap(layout)) {
        WaitUntil([&s] { return !s.keymaps.empty(); }, std::chrono::seconds(20));
    }
}

UserKeyboard::~UserKeyboard() = default;

bool UserKeyboard::IsReady() const {
    return !m_session->keymaps.empty();
}

void UserKeyboard::Press(std::initializer_list<std::uint32_t> keys) {
    for (const std::uint32_t key : keys) {
        m_session->SendKey(key, true);
    }
    for (auto key = std::rbegin(keys); key != std::rend(keys); ++key) {
        m_session->SendKey(*key, false);
    }
    wl_display_flush(m_session->display);
}

const std::vector<std::string>& UserKeyboard::Keymaps() const {
    return m_session->keymaps;
}

bool UserKeyboard::WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds bound) {
    wl_display* display = m_session->display;
    const auto deadline = std::chrono::steady_clock::now() + bound;
    while (!done()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return false;
        }
        while (wl_display_prepare_read(display) != 0) {
            wl_display_dispatch_pending(display);
        }
        wl_display_flush(display);
        pollfd fd{wl_display_get_fd(display), POLLIN, 0};
        if (poll(&fd, 1, static_cast<int>(left.count())) > 0) {
            wl_display_read_events(display);
        } else {
            wl_display_cancel_read(display);
        }
        if (wl_display_dispatch_pending(display) < 0) {
            return false;
        }
    }
    return true;
}

} // namespace klt::wayland_test
