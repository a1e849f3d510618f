#pragma once
// The integer types and helpers that the framework and the resources are written in. They keep
// the widths the design uses (a WORD is 16 bits, a DWORD 32 bits), whatever the platform.

#include <cstdint>

using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using BOOL = int;
using LONG = std::int32_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

constexpr WORD LOWORD(std::uintptr_t value) {
    return static_cast<WORD>(value & 0xFFFF);
}
constexpr WORD HIWORD(std::uintptr_t value) {
    return static_cast<WORD>((value >> 16) & 0xFFFF);
}
constexpr BYTE LOBYTE(std::uintptr_t value) {
    return static_cast<BYTE>(value & 0xFF);
}
constexpr BYTE HIBYTE(std::uintptr_t value) {
    return static_cast<BYTE>((value >> 8) & 0xFF);
}
constexpr DWORD MAKELONG(WORD low, WORD high) {
    return DWORD(low) | (DWORD(high) << 16);
}
