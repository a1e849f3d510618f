#pragma once
// The keyboard through a virtual keyboard of the program's own in the seat: it carries the user's
// keymap, or for the length of a text a copy with the characters the user's layout lacks on free keys.
// Clients read a new keymap only when they get round to it, so a changed keymap is given time to
// settle before the first key and after the last, and keys go out at a pace the clients keep up with.

#include "platform/Keyboard.h"
#include "platform/wayland/ClientBacklog.h"
#include "platform/wayland/SeatKeymap.h"
#include "platform/xkb/Keymap.h"

#include <chrono>
#include <memory>
#include <string>
#include <unordered_set>

struct zwp_virtual_keyboard_v1;

namespace klt::wayland {

class Connection;

class WaylandKeyboard final : public IKeyboard {
public:
    static constexpr std::chrono::milliseconds kSettlingTime{50};
    static constexpr std::chrono::milliseconds kKeyPace{1}; // a client's time per character
    static constexpr int kCharactersPerSync = 8;
    // How far the focused client may fall behind, in bytes of events (about 75 a character), and how
    // long it is waited for at most.
    static constexpr std::size_t kMaxBacklog = 2048;
    static constexpr std::chrono::milliseconds kBacklogBound{1000};

    // modifierSource tells which modifiers the user holds (the keyboard of the display the program's
    // own windows are on); without one, none are.
    WaylandKeyboard(Connection& connection, IKeyboard* modifierSource);
    ~WaylandKeyboard() override;
    WaylandKeyboard(const WaylandKeyboard&) = delete;
    WaylandKeyboard& operator=(const WaylandKeyboard&) = delete;

    bool IsModifierDown(Modifier modifier) override;
    // The virtual keyboard's own locks are never on, and its keys are what the target reads.
    bool IsCapsLockOn() override { return false; }
    std::optional<KeyScan> LookUp(char32_t character) override;
    void SendKey(KeyCode key, bool down) override;
    void SendModifier(Modifier modifier, bool down) override;
    void EndCharacter() override;
    void BeginText(std::u32string_view characters) override;
    void EndText() override;

private:
    // The keymap of the user's keyboard, or without one the compositor's default; null when neither
    // can be had.
    const xkb::Keymap* UserKeymap() const;
    // Puts the keymap for the text from `position` on: the user's, with what it lacks lent.
    void Prepare(std::size_t position);
    void Upload(std::unique_ptr<xkb::Keymap> keymap);
    void SendModifiers();
    void KeepPace();

    Connection& m_connection;
    IKeyboard* m_modifierSource;
    wl_keyboard* m_seatKeyboard = nullptr;         // reports the user's keymap
    zwp_virtual_keyboard_v1* m_keyboard = nullptr; // stays in the seat while the program runs
    std::unique_ptr<xkb::Keymap> m_uploaded;       // the keymap the virtual keyboard has
    // Every keymap uploaded with lent keys, by the hash of its text: the compositor passes them on to
    // the seat's keyboard whenever it gets round to it, often after the next upload.
    std::unordered_set<std::size_t> m_ownKeymaps;
    SeatKeymap m_seatKeymap; // passes over those
    std::unique_ptr<xkb::Keymap> m_defaultKeymap;
    ClientBacklog m_backlog;
    std::u32string m_text;           // the text being typed
    std::size_t m_position = 0;      // of the next character asked for
    std::size_t m_preparedUntil = 0; // the uploaded keymap gives the text's characters up to here
    unsigned m_depressed = 0;
    int m_charactersSinceSync = 0; // characters sent since the compositor last caught up
};

} // namespace klt::wayland
