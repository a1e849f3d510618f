#include "platform/wayland/WaylandKeyboard.h"

#include "platform/wayland/WaylandConnection.h"
#include "virtual-keyboard-client.h"

#include <cstring>
#include <sys/mman.h>
#include <thread>
#include <unistd.h>
#include <wayland-client.h>

namespace klt::wayland {

namespace {

constexpr unsigned kXkbV1 = WL_KEYBOARD_KEYMAP_FORMAT_XKB_V1;
constexpr KeyCode kEvdevOffset = 8; // XKB keycodes are the kernel's plus 8

std::uint32_t Milliseconds() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

// The keymap's text in a sealed-off memory file, terminated by a NUL as the protocol wants.
int MemoryFileOf(const std::string& text) {
    const int fd = memfd_create("keyloft-keymap", MFD_CLOEXEC);
    if (fd < 0) {
        return -1;
    }
    const char* data = text.c_str();
    size_t left = text.size() + 1;
    while (left > 0) {
        const ssize_t written = write(fd, data, left);
        if (written <= 0) {
            close(fd);
            return -1;
        }
        data += written;
        left -= static_cast<size_t>(written);
    }
    return fd;
}

} // namespace

WaylandKeyboard::WaylandKeyboard(Connection& connection, IKeyboard* modifierSource)
    : m_connection(connection), m_modifierSource(modifierSource),
      m_seatKeymap(connection,
                   [this](std::string_view text) {
                       return m_ownKeymaps.contains(std::hash<std::string_view>{}(text));
                   }),
      m_backlog(ClientBacklog::SocketPathOfEnvironment(),
                ClientBacklog::InodeOf(wl_display_get_fd(connection.Display()))) {
    if (m_seatKeymap.Current() == nullptr) {
        m_defaultKeymap = xkb::Keymap::OfLayout();
    }
    // Kept in the seat from now on: a seat that gains a keyboard at the first key loses that key.
    m_keyboard = zwp_virtual_keyboard_manager_v1_create_virtual_keyboard(connection.VirtualKeyboards(),
                                                                         connection.Seat());
    if (const xkb::Keymap* user = UserKeymap()) {
        Upload(xkb::Keymap::FromText(user->Text()));
    }
    connection.Roundtrip();
    m_seatKeymap.Listen(); // the seat has a keyboard now, this one at least
}

WaylandKeyboard::~WaylandKeyboard() {
    zwp_virtual_keyboard_v1_destroy(m_keyboard);
    m_connection.Roundtrip();
}

const xkb::Keymap* WaylandKeyboard::UserKeymap() const {
    return m_seatKeymap.Current() != nullptr ? m_seatKeymap.Current() : m_defaultKeymap.get();
}

bool WaylandKeyboard::IsModifierDown(Modifier modifier) {
    return m_modifierSource != nullptr && m_modifierSource->IsModifierDown(modifier);
}

std::optional<KeyScan> WaylandKeyboard::LookUp(char32_t character) {
    const std::size_t position = m_position++;
    if (m_uploaded == nullptr) {
        return std::nullopt;
    }
    if (!m_uploaded->Find(character) && position < m_text.size() && position >= m_preparedUntil) {
        Prepare(position);
        // A character no key can be lent to is left out; the text goes on after it.
        m_preparedUntil = std::max(m_preparedUntil, position + 1);
    }
    return m_uploaded->Find(character);
}

void WaylandKeyboard::SendKey(KeyCode key, bool down) {
    zwp_virtual_keyboard_v1_key(m_keyboard, Milliseconds(), key - kEvdevOffset,
                                down ? WL_KEYBOARD_KEY_STATE_PRESSED : WL_KEYBOARD_KEY_STATE_RELEASED);
}

// The keys of one character leave in one write. The compositor then handles them together and passes
// them on to the client in one message: the client's socket holds far fewer messages than bytes, so a
// client that falls behind for a moment is not disconnected.
void WaylandKeyboard::EndCharacter() {
    m_connection.ProcessPendingEvents();
    std::this_thread::sleep_for(kKeyPace);
    if (++m_charactersSinceSync == kCharactersPerSync) {
        KeepPace();
    }
}

// The compositor passes keys on as fast as they come. After every few characters it must have handled
// them all; the clients then get as much time again as that took, more when the compositor was slow
// to answer, since then the whole machine is. A client that is still far behind is waited for, within
// a bound: one that does not read on meanwhile is not reading these keys, and is counted afresh.
void WaylandKeyboard::KeepPace() {
    using Clock = std::chrono::steady_clock;
    m_charactersSinceSync = 0;
    const auto start = Clock::now();
    m_connection.Roundtrip();
    std::this_thread::sleep_for(Clock::now() - start);
    const auto end = Clock::now() + kBacklogBound;
    while (m_backlog.Largest() > kMaxBacklog) {
        if (Clock::now() >= end) {
            m_backlog.Begin();
            break;
        }
        std::this_thread::sleep_for(kKeyPace);
    }
}

void WaylandKeyboard::SendModifier(Modifier modifier, bool down) {
    const unsigned mask = m_uploaded != nullptr ? m_uploaded->ModifierMask(modifier) : 0;
    m_depressed = down ? m_depressed | mask : m_depressed & ~mask;
    SendModifiers();
}

void WaylandKeyboard::SendModifiers() {
    // The group is always the first: characters are looked up in the first layout.
    zwp_virtual_keyboard_v1_modifiers(m_keyboard, m_depressed, 0, 0, 0);
}

void WaylandKeyboard::BeginText(std::u32string_view characters) {
    m_connection.ProcessPendingEvents(); // a keymap the user switched to just now
    m_text = characters;
    m_position = 0;
    m_preparedUntil = 0;
    m_depressed = 0;
    m_charactersSinceSync = 0;
    m_backlog.Begin();
    SendModifiers();
    Prepare(0);
}

void WaylandKeyboard::EndText() {
    m_text.clear();
    m_position = m_preparedUntil = 0;
    const xkb::Keymap* user = UserKeymap();
    if (user != nullptr && m_uploaded && m_uploaded->Text() != user->Text()) {
        std::this_thread::sleep_for(kSettlingTime);
        Upload(xkb::Keymap::FromText(user->Text()));
    }
}

void WaylandKeyboard::Prepare(std::size_t position) {
    const xkb::Keymap* user = UserKeymap();
    if (user == nullptr) {
        return;
    }
    std::size_t typeable = 0;
    const std::string text = user->WithLentKeys(std::u32string_view(m_text).substr(position), typeable);
    m_preparedUntil = position + typeable;
    if (m_uploaded != nullptr && text == m_uploaded->Text()) {
        return;
    }
    if (position > 0) {
        std::this_thread::sleep_for(kSettlingTime); // the keys so far are read with the keymap they went with
    }
    Upload(xkb::Keymap::FromText(text));
    m_connection.Roundtrip();
    std::this_thread::sleep_for(kSettlingTime);
}

void WaylandKeyboard::Upload(std::unique_ptr<xkb::Keymap> keymap) {
    const int fd = keymap != nullptr ? MemoryFileOf(keymap->Text()) : -1;
    if (fd < 0) {
        return;
    }
    zwp_virtual_keyboard_v1_keymap(m_keyboard, kXkbV1, fd,
                                   static_cast<std::uint32_t>(keymap->Text().size() + 1));
    close(fd);
    // The user's own keymap, uploaded again, stays the user's when the compositor passes it on.
    if (const xkb::Keymap* user = UserKeymap(); user == nullptr || keymap->Text() != user->Text()) {
        m_ownKeymaps.insert(std::hash<std::string_view>{}(keymap->Text()));
    }
    m_uploaded = std::move(keymap);
    m_connection.ProcessPendingEvents();
}

} // namespace klt::wayland
