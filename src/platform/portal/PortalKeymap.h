#pragma once
// The user's layout as the portal uses it to type a keysym: it presses the first key, in keycode
// order, that has the keysym on some level of the first layout, and leaves the modifiers as they
// are. The typing engine has to hold Shift or AltGr for the level itself.

#include "platform/Keyboard.h"

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>

namespace klt::xkb {
class Keymap;
} // namespace klt::xkb

namespace klt::portal {

class PortalKeymap {
public:
    explicit PortalKeymap(const xkb::Keymap& keymap);
    // Compiles an XKB keymap in its text form; null when it does not compile.
    static std::unique_ptr<PortalKeymap> FromText(const std::string& text);

    // The keysym to send for the character (as the key) and the shift state its level needs;
    // nullopt when the layout lacks the character or the portal's key has it on a level that Shift
    // and AltGr cannot reach.
    std::optional<KeyScan> Find(char32_t character) const;

private:
    void ReadKey(const xkb::Keymap& keymap, unsigned key);

    std::unordered_map<char32_t, std::optional<KeyScan>> m_characters;
};

} // namespace klt::portal
