#include "SeatKeymap.h"

#include <cstring>
#include <memory>
#include <sys/mman.h>
#include <unistd.h>
#include <wayland-client.h>

namespace klt::portal {

namespace {

struct Disconnect {
    void operator()(wl_display* display) const { wl_display_disconnect(display); }
};

struct Reader {
    wl_seat* seat = nullptr;
    wl_keyboard* keyboard = nullptr;
    std::string keymap;
};

void OnGlobal(void* data, wl_registry* registry, uint32_t name, const char* interface, uint32_t /*version*/) {
    auto* reader = static_cast<Reader*>(data);
    if (reader->seat == nullptr && std::strcmp(interface, wl_seat_interface.name) == 0) {
        reader->seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
    }
}
void OnGlobalRemove(void*, wl_registry*, uint32_t) {}
const wl_registry_listener kRegistryListener{OnGlobal, OnGlobalRemove};

void OnCapabilities(void* data, wl_seat* seat, uint32_t capabilities) {
    auto* reader = static_cast<Reader*>(data);
    if ((capabilities & WL_SEAT_CAPABILITY_KEYBOARD) && reader->keyboard == nullptr) {
        reader->keyboard = wl_seat_get_keyboard(seat);
    }
}
const wl_seat_listener kSeatListener{OnCapabilities, nullptr};

void OnKeymap(void* data, wl_keyboard*, uint32_t format, int32_t fd, uint32_t size) {
    auto* reader = static_cast<Reader*>(data);
    if (format == WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1 && size > 0) {
        void* mapped = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, fd, 0);
        if (mapped != MAP_FAILED) {
            // The text ends with a NUL that belongs to the size.
            reader->keymap.assign(static_cast<const char*>(mapped),
                                  strnlen(static_cast<const char*>(mapped), size));
            munmap(mapped, size);
        }
    }
    close(fd);
}
void OnEnter(void*, wl_keyboard*, uint32_t, wl_surface*, wl_array*) {}
void OnLeave(void*, wl_keyboard*, uint32_t, wl_surface*) {}
void OnKey(void*, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t) {}
void OnModifiers(void*, wl_keyboard*, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t) {}
const wl_keyboard_listener kKeyboardListener{OnKeymap, OnEnter, OnLeave, OnKey, OnModifiers, nullptr};

} // namespace

std::string ReadSeatKeymap() {
    std::unique_ptr<wl_display, Disconnect> display(wl_display_connect(nullptr));
    if (!display) {
        return {};
    }
    Reader reader;
    wl_registry* registry = wl_display_get_registry(display.get());
    wl_registry_add_listener(registry, &kRegistryListener, &reader);
    // One round trip for the globals, one for the seat's capabilities, one for the keymap.
    for (int round = 0; round < 3 && wl_display_roundtrip(display.get()) >= 0; ++round) {
        if (round == 0 && reader.seat != nullptr) {
            wl_seat_add_listener(reader.seat, &kSeatListener, &reader);
        } else if (round == 1 && reader.keyboard != nullptr) {
            wl_keyboard_add_listener(reader.keyboard, &kKeyboardListener, &reader);
        }
    }
    if (reader.keyboard != nullptr) {
        wl_keyboard_destroy(reader.keyboard);
    }
    if (reader.seat != nullptr) {
        wl_seat_destroy(reader.seat);
    }
    wl_registry_destroy(registry);
    return reader.keymap;
}

} // namespace klt::portal
