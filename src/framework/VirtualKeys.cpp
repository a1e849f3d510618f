#include "framework/VirtualKeys.h"

#include <Qt>
#include <array>
#include <cstdio>

namespace klt {
namespace {

struct KeyName {
    WORD vk;
    int qtKey;
    const char* name;
    bool bExtended; // on the editing or arrow block rather than the keypad
};

constexpr std::array kKeys = std::to_array<KeyName>({
    {VK_BACK, Qt::Key_Backspace, "Backspace", false},
    {VK_TAB, Qt::Key_Tab, "Tab", false},
    {VK_RETURN, Qt::Key_Return, "Enter", false},
    {VK_PAUSE, Qt::Key_Pause, "Pause", false},
    {VK_CAPITAL, Qt::Key_CapsLock, "Caps Lock", false},
    {VK_ESCAPE, Qt::Key_Escape, "Esc", false},
    {VK_SPACE, Qt::Key_Space, "Space", false},
    {VK_PRIOR, Qt::Key_PageUp, "Page Up", true},
    {VK_NEXT, Qt::Key_PageDown, "Page Down", true},
    {VK_END, Qt::Key_End, "End", true},
    {VK_HOME, Qt::Key_Home, "Home", true},
    {VK_LEFT, Qt::Key_Left, "Left", true},
    {VK_UP, Qt::Key_Up, "Up", true},
    {VK_RIGHT, Qt::Key_Right, "Right", true},
    {VK_DOWN, Qt::Key_Down, "Down", true},
    {VK_SNAPSHOT, Qt::Key_Print, "Print Screen", true},
    {VK_INSERT, Qt::Key_Insert, "Insert", true},
    {VK_DELETE, Qt::Key_Delete, "Delete", true},
    {VK_NUMLOCK, Qt::Key_NumLock, "Num Lock", true},
    {VK_SCROLL, Qt::Key_ScrollLock, "Scroll Lock", false},
    {VK_OEM_1, Qt::Key_Semicolon, ";", false},
    {VK_OEM_PLUS, Qt::Key_Equal, "=", false},
    {VK_OEM_COMMA, Qt::Key_Comma, ",", false},
    {VK_OEM_MINUS, Qt::Key_Minus, "-", false},
    {VK_OEM_PERIOD, Qt::Key_Period, ".", false},
    {VK_OEM_2, Qt::Key_Slash, "/", false},
    {VK_OEM_3, Qt::Key_QuoteLeft, "`", false},
    {VK_OEM_4, Qt::Key_BracketLeft, "[", false},
    {VK_OEM_5, Qt::Key_Backslash, "\\", false},
    {VK_OEM_6, Qt::Key_BracketRight, "]", false},
    {VK_OEM_7, Qt::Key_Apostrophe, "'", false},
});

// Shifted characters of the US layout and the key they sit on.
constexpr std::array kShifted = std::to_array<std::pair<int, int>>({
    {Qt::Key_Exclam, Qt::Key_1},
    {Qt::Key_At, Qt::Key_2},
    {Qt::Key_NumberSign, Qt::Key_3},
    {Qt::Key_Dollar, Qt::Key_4},
    {Qt::Key_Percent, Qt::Key_5},
    {Qt::Key_AsciiCircum, Qt::Key_6},
    {Qt::Key_Ampersand, Qt::Key_7},
    {Qt::Key_Asterisk, Qt::Key_8},
    {Qt::Key_ParenLeft, Qt::Key_9},
    {Qt::Key_ParenRight, Qt::Key_0},
    {Qt::Key_Colon, Qt::Key_Semicolon},
    {Qt::Key_Plus, Qt::Key_Equal},
    {Qt::Key_Less, Qt::Key_Comma},
    {Qt::Key_Underscore, Qt::Key_Minus},
    {Qt::Key_Greater, Qt::Key_Period},
    {Qt::Key_Question, Qt::Key_Slash},
    {Qt::Key_AsciiTilde, Qt::Key_QuoteLeft},
    {Qt::Key_BraceLeft, Qt::Key_BracketLeft},
    {Qt::Key_Bar, Qt::Key_Backslash},
    {Qt::Key_BraceRight, Qt::Key_BracketRight},
    {Qt::Key_QuoteDbl, Qt::Key_Apostrophe},
});

struct KeypadKey {
    int qtKey;
    WORD vk;
    const char* name;
};

constexpr std::array kKeypad = std::to_array<KeypadKey>({
    {Qt::Key_Asterisk, VK_MULTIPLY, "Num *"},
    {Qt::Key_Plus, VK_ADD, "Num +"},
    {Qt::Key_Minus, VK_SUBTRACT, "Num -"},
    {Qt::Key_Period, VK_DECIMAL, "Num Del"},
    {Qt::Key_Slash, VK_DIVIDE, "Num /"},
});

} // namespace

WORD VirtualKeyFromQt(int qtKey, bool bKeypad, bool* pbExtended) {
    if (pbExtended != nullptr) {
        *pbExtended = false;
    }
    if (bKeypad) {
        if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
            return static_cast<WORD>(VK_NUMPAD0 + (qtKey - Qt::Key_0));
        }
        for (const KeypadKey& key : kKeypad) {
            if (key.qtKey == qtKey) {
                if (pbExtended != nullptr) {
                    *pbExtended = key.vk == VK_DIVIDE;
                }
                return key.vk;
            }
        }
        if (qtKey == Qt::Key_Enter) {
            if (pbExtended != nullptr) {
                *pbExtended = true;
            }
            return VK_RETURN;
        }
    }
    if (qtKey == Qt::Key_Enter) {
        qtKey = Qt::Key_Return;
    }
    for (const auto& [shifted, plain] : kShifted) {
        if (qtKey == shifted) {
            qtKey = plain;
        }
    }
    if ((qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) || (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)) {
        return static_cast<WORD>(qtKey);
    }
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) {
        return static_cast<WORD>(VK_F1 + (qtKey - Qt::Key_F1));
    }
    for (const KeyName& key : kKeys) {
        if (key.qtKey == qtKey) {
            if (pbExtended != nullptr) {
                *pbExtended = key.bExtended && !bKeypad;
            }
            return key.vk;
        }
    }
    return 0;
}

int QtKeyFromVirtualKey(WORD vk) {
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) {
        return vk;
    }
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD0 + 9) {
        return Qt::Key_0 + (vk - VK_NUMPAD0);
    }
    if (vk >= VK_F1 && vk <= VK_F24) {
        return Qt::Key_F1 + (vk - VK_F1);
    }
    for (const KeyName& key : kKeys) {
        if (key.vk == vk) {
            return key.qtKey;
        }
    }
    for (const KeypadKey& key : kKeypad) {
        if (key.vk == vk) {
            return key.qtKey;
        }
    }
    return 0;
}

bool TypesCharacter(WORD vk) {
    return vk == VK_SPACE || (vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z') ||
           (vk >= VK_NUMPAD0 && vk <= VK_DIVIDE) || (vk >= VK_OEM_1 && vk <= VK_OEM_3) ||
           (vk >= VK_OEM_4 && vk <= VK_OEM_7);
}

bool IsGlobalHotKey(UINT nModModifiers, WORD vk) {
    return !TypesCharacter(vk) || (nModModifiers & (MOD_CONTROL | MOD_ALT)) != 0;
}

std::string HotKeyText(WORD vk, WORD wHotKeyModifiers) {
    if (vk == 0 && wHotKeyModifiers == 0) {
        return "None";
    }
    std::string text;
    if (wHotKeyModifiers & HOTKEYF_CONTROL) {
        text += "Ctrl + ";
    }
    if (wHotKeyModifiers & HOTKEYF_SHIFT) {
        text += "Shift + ";
    }
    if (wHotKeyModifiers & HOTKEYF_ALT) {
        text += "Alt + ";
    }
    if (vk == 0) {
        return text;
    }
    if ((vk >= 'A' && vk <= 'Z') || (vk >= '0' && vk <= '9')) {
        return text + static_cast<char>(vk);
    }
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD0 + 9) {
        return text + "Num " + static_cast<char>('0' + (vk - VK_NUMPAD0));
    }
    if (vk >= VK_F1 && vk <= VK_F24) {
        return text + "F" + std::to_string(vk - VK_F1 + 1);
    }
    for (const KeyName& key : kKeys) {
        if (key.vk == vk) {
            return text + key.name;
        }
    }
    for (const KeypadKey& key : kKeypad) {
        if (key.vk == vk) {
            return text + key.name;
        }
    }
    char code[16];
    std::snprintf(code, sizeof code, "Key 0x%02X", static_cast<unsigned>(vk));
    return text + code;
}

} // namespace klt
