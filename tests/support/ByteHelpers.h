#pragma once
// Test helpers: byte strings written as hexadecimal, as in a hex dump.

#include <cstdint>
#include <string>
#include <string_view>

namespace klt::test {

// "00 85 9E 36" -> the four bytes; blanks are ignored.
inline std::string Hex(std::string_view hex) {
    std::string bytes;
    int nHigh = -1;
    for (const char c : hex) {
        if (c == ' ') {
            continue;
        }
        const int nDigit = c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
        if (nHigh < 0) {
            nHigh = nDigit;
        } else {
            bytes.push_back(static_cast<char>(nHigh << 4 | nDigit));
            nHigh = -1;
        }
    }
    return bytes;
}

} // namespace klt::test
