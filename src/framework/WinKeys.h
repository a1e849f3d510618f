#pragma once
// The hot-key modifier bits (the registration form and the hot-key control's form) and the
// virtual-key codes, with the numbers of the platform the program was designed for: the settings
// ("HotKeyVK", "HotKeyMOD") store them. The framework and the X11 services both use these names, so
// they live here once, free of any toolkit or X11 type.

#include "framework/WinTypes.h"

// ---- Hot keys: the registration form (RegisterHotKey) and the hot-key control's form
constexpr UINT MOD_ALT = 0x0001;
constexpr UINT MOD_CONTROL = 0x0002;
constexpr UINT MOD_SHIFT = 0x0004;
constexpr WORD HOTKEYF_SHIFT = 0x01;
constexpr WORD HOTKEYF_CONTROL = 0x02;
constexpr WORD HOTKEYF_ALT = 0x04;
constexpr WORD HOTKEYF_EXT = 0x08;

// ---- Virtual-key codes
constexpr WORD VK_BACK = 0x08;
constexpr WORD VK_TAB = 0x09;
constexpr WORD VK_RETURN = 0x0D;
constexpr WORD VK_SHIFT = 0x10;
constexpr WORD VK_CONTROL = 0x11;
constexpr WORD VK_MENU = 0x12;
constexpr WORD VK_PAUSE = 0x13;
constexpr WORD VK_CAPITAL = 0x14;
constexpr WORD VK_ESCAPE = 0x1B;
constexpr WORD VK_SPACE = 0x20;
constexpr WORD VK_PRIOR = 0x21;
constexpr WORD VK_NEXT = 0x22;
constexpr WORD VK_END = 0x23;
constexpr WORD VK_HOME = 0x24;
constexpr WORD VK_LEFT = 0x25;
constexpr WORD VK_UP = 0x26;
constexpr WORD VK_RIGHT = 0x27;
constexpr WORD VK_DOWN = 0x28;
constexpr WORD VK_SNAPSHOT = 0x2C;
constexpr WORD VK_INSERT = 0x2D;
constexpr WORD VK_DELETE = 0x2E;
constexpr WORD VK_NUMPAD0 = 0x60;
constexpr WORD VK_MULTIPLY = 0x6A;
constexpr WORD VK_ADD = 0x6B;
constexpr WORD VK_SUBTRACT = 0x6D;
constexpr WORD VK_DECIMAL = 0x6E;
constexpr WORD VK_DIVIDE = 0x6F;
constexpr WORD VK_F1 = 0x70;
constexpr WORD VK_F24 = 0x87;
constexpr WORD VK_NUMLOCK = 0x90;
constexpr WORD VK_SCROLL = 0x91;
constexpr WORD VK_OEM_1 = 0xBA;      // ;:
constexpr WORD VK_OEM_PLUS = 0xBB;   // =+
constexpr WORD VK_OEM_COMMA = 0xBC;  // ,<
constexpr WORD VK_OEM_MINUS = 0xBD;  // -_
constexpr WORD VK_OEM_PERIOD = 0xBE; // .>
constexpr WORD VK_OEM_2 = 0xBF;      // /?
constexpr WORD VK_OEM_3 = 0xC0;      // `~
constexpr WORD VK_OEM_4 = 0xDB;      // [{
constexpr WORD VK_OEM_5 = 0xDC;      // \|
constexpr WORD VK_OEM_6 = 0xDD;      // ]}
constexpr WORD VK_OEM_7 = 0xDE;      // '"
