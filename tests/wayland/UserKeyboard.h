#pragma once
// The user's own keyboard in the sway session's seat: a virtual keyboard with the user's layout that
// stays in the seat for the whole test, and the keymap the seat's clients were given each time it
// changed, as any Wayland client with a keyboard sees them.

#include <chrono>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace klt::wayland_test {

class UserKeyboard {
public:
    // Connects to $WAYLAND_DISPLAY and puts a keyboard with the layout ("de") into the seat.
    explicit UserKeyboard(const std::string& layout);
    ~UserKeyboard();
    UserKeyboard(const UserKeyboard&) = delete;
    UserKeyboard& operator=(const UserKeyboard&) = delete;

    // False when the session offers no virtual keyboard or no keymap came.
    bool IsReady() const;
    // Presses the keys (evdev codes, as in linux/input-event-codes.h) in order, then lets them go in
    // the reverse order.
    void Press(std::initializer_list<std::uint32_t> keys);
    // Every keymap received so far, the latest last.
    const std::vector<std::string>& Keymaps() const;
    // Reads what the compositor sends until done() holds; false when the bound ran out first.
    bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds bound);

    struct Session; // the connection, ours to the listeners too

private:
    std::unique_ptr<Session> m_session;
};

} // namespace klt::wayland_test
