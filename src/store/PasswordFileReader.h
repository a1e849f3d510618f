#pragma once
// Reading a password file up to its stream: the encrypted flag, the password flag and the stored
// master password. The stream after the password bytes is left to the caller's Serialize:
//
//     std::string image = klt::ReadFileContents(path);           // CFileException: nothing changed yet
//     klt::PasswordFileHeader header;
//     switch (klt::ReadPasswordHeader(image, prompt, header)) { ... }
//     CArchive ar(header.stream);
//     Serialize(ar);                                              // CArchiveException: bad format

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace klt {

enum class ReadStatus {
    ok,
    cancelled,     // the password prompt was cancelled: stop without a message
    encrypted,     // the file is marked as enciphered (refused after the prompt)
    wrongPassword, // the typed password differs from the stored one
    badFormat,     // shorter than its header, the password field runs past the end, or a bad stream
    undecryptable, // an encrypted file that a wrong password or a changed byte keeps shut: one looks
                   // like the other
};

// Asks the user for the file's password; nullopt when cancelled.
using PasswordPrompt = std::function<std::optional<std::string>()>;

struct PasswordFileHeader {
    bool bEncrypted = false;
    bool bProtected = false;
    // The password the user typed for a protected file (equal to the stored one), else empty.
    std::string strMasterPassword;
    // The stream after the stored password; points into the image.
    std::string_view stream;
};

// Checks a whole file image: asks through prompt only when the password flag is set, refuses an
// enciphered file after the prompt, then checks the password. Never returns ReadStatus::ok without
// setting header.stream. A file too short for its flags and length is refused before the prompt.
ReadStatus ReadPasswordHeader(std::string_view image, const PasswordPrompt& prompt,
                              PasswordFileHeader& header);

} // namespace klt
