#include "platform/xkb/Keysyms.h"

#include <array>
#include <utility>
#include <xkbcommon/xkbcommon.h>

namespace klt::xkb {

std::uint32_t KeysymOfCharacter(char32_t character) {
    return xkb_utf32_to_keysym(static_cast<std::uint32_t>(character));
}

char32_t CharacterOfKeysym(std::uint32_t keysym) {
    const std::uint32_t character = xkb_keysym_to_utf32(keysym);
    if (character == 0) {
        return 0;
    }
    // Only the keysym a character is typed with counts: KP_1 also reads as '1' but is a keypad key.
    const bool canonical = KeysymOfCharacter(character) == keysym || keysym == 0x1000000 + character;
    return canonical ? static_cast<char32_t>(character) : 0;
}

std::array<std::uint32_t, 2> LentLevels(char32_t character) {
    const std::uint32_t keysym = KeysymOfCharacter(character);
    const std::uint32_t small = xkb_keysym_to_lower(keysym), capital = xkb_keysym_to_upper(keysym);
    return small != capital ? std::array{small, capital} : std::array{keysym, keysym};
}

std::uint32_t KeysymOfVirtualKey(unsigned vk) {
    if (vk >= '0' && vk <= '9') {
        return vk;
    }
    if (vk >= 'A' && vk <= 'Z') {
        return vk - 'A' + XKB_KEY_a;
    }
    if (vk >= 0x60 && vk <= 0x69) { // VK_NUMPAD0..9
        return XKB_KEY_KP_0 + (vk - 0x60);
    }
    if (vk >= 0x70 && vk <= 0x87) { // VK_F1..F24
        return XKB_KEY_F1 + (vk - 0x70);
    }
    static constexpr std::array<std::pair<unsigned, std::uint32_t>, 45> kTable{{
        {0x03, XKB_KEY_Break},       {0x08, XKB_KEY_BackSpace},    {0x09, XKB_KEY_Tab},
        {0x0C, XKB_KEY_Clear},       {0x0D, XKB_KEY_Return},       {0x13, XKB_KEY_Pause},
        {0x1B, XKB_KEY_Escape},      {0x20, XKB_KEY_space},        {0x21, XKB_KEY_Prior},
        {0x22, XKB_KEY_Next},        {0x23, XKB_KEY_End},          {0x24, XKB_KEY_Home},
        {0x25, XKB_KEY_Left},        {0x26, XKB_KEY_Up},           {0x27, XKB_KEY_Right},
        {0x28, XKB_KEY_Down},        {0x29, XKB_KEY_Select},       {0x2A, XKB_KEY_Print},
        {0x2B, XKB_KEY_Execute},     {0x2C, XKB_KEY_Print},        {0x2D, XKB_KEY_Insert},
        {0x2E, XKB_KEY_Delete},      {0x2F, XKB_KEY_Help},         {0x5B, XKB_KEY_Super_L},
        {0x5C, XKB_KEY_Super_R},     {0x5D, XKB_KEY_Menu},         {0x6A, XKB_KEY_KP_Multiply},
        {0x6B, XKB_KEY_KP_Add},      {0x6C, XKB_KEY_KP_Separator}, {0x6D, XKB_KEY_KP_Subtract},
        {0x6E, XKB_KEY_KP_Decimal},  {0x6F, XKB_KEY_KP_Divide},    {0x90, XKB_KEY_Num_Lock},
        {0x91, XKB_KEY_Scroll_Lock}, {0xBA, XKB_KEY_semicolon},    {0xBB, XKB_KEY_equal},
        {0xBC, XKB_KEY_comma},       {0xBD, XKB_KEY_minus},        {0xBE, XKB_KEY_period},
        {0xBF, XKB_KEY_slash},       {0xC0, XKB_KEY_grave},        {0xDB, XKB_KEY_bracketleft},
        {0xDC, XKB_KEY_backslash},   {0xDD, XKB_KEY_bracketright}, {0xDE, XKB_KEY_apostrophe},
    }};
    for (const auto& [code, keysym] : kTable) {
        if (code == vk) {
            return keysym;
        }
    }
    return 0;
}

} // namespace klt::xkb
