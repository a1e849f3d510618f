#pragma once
// The user's keymap as the compositor passes it to the keyboards of its clients. It follows changes;
// keymaps that some program's virtual keyboard carries (this program's own, or a typing tool's with
// only the keys it presses) are not the user's and are passed over.

#include "platform/xkb/Keymap.h"

#include <functional>
#include <memory>
#include <string_view>

struct wl_keyboard;

namespace klt::wayland {

class Connection;

class SeatKeymap {
public:
    // isOwn tells the keymaps this program uploads itself, given as the text of the compiled keymap.
    explicit SeatKeymap(Connection& connection, std::function<bool(std::string_view)> isOwn = {});
    ~SeatKeymap();
    SeatKeymap(const SeatKeymap&) = delete;
    SeatKeymap& operator=(const SeatKeymap&) = delete;

    // Starts listening once the seat has a keyboard: a seat without one refuses to report keymaps.
    void Listen();
    // The user's keymap as last passed on; null before any.
    const Keymap* Current() const { return m_keymap.get(); }

private:
    static void OnKeymap(void* data, wl_keyboard* keyboard, unsigned format, int fd, unsigned size);

    Connection& m_connection;
    std::function<bool(std::string_view)> m_isOwn;
    wl_keyboard* m_keyboard = nullptr;
    std::unique_ptr<Keymap> m_keymap;
};

} // namespace klt::wayland
