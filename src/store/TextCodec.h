#pragma once
// Texts are byte strings, as they stand in password files. On Linux the 8-bit code page is
// UTF-8, but files written on Windows may hold Windows-1252 bytes: a text that is not valid
// UTF-8 is read as Windows-1252, byte by byte, so every byte keeps a character of its own.

#include <string>
#include <string_view>

namespace klt {

// True when the bytes are well-formed UTF-8 (no overlong forms, no surrogates, at most U+10FFFF).
bool IsValidUtf8(std::string_view bytes);

// The characters of a text: its UTF-8 decoding when valid, otherwise Windows-1252 byte by byte
// (the five bytes Windows-1252 leaves undefined become the C1 controls of the same value).
std::u32string DecodeText(std::string_view bytes);

// UTF-8 bytes of the given characters.
std::string EncodeUtf8(std::u32string_view text);

// The Windows-1252 character of one byte.
char32_t Windows1252ToUnicode(unsigned char byte);

} // namespace klt
