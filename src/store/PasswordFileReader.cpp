#include "store/PasswordFileReader.h"

#include "store/SecretMemory.h"

#include <algorithm>
#include <cstdint>

namespace klt {

namespace {

constexpr size_t kHeaderSize = 6;          // two flags and the password length
constexpr uint32_t kMaxStoredLength = 255; // older files keep at most 255 password bytes here

uint32_t ReadLe32(std::string_view bytes) {
    const auto byte = [bytes](size_t i) { return uint32_t(static_cast<uint8_t>(bytes[i])); };
    return byte(0) | byte(1) << 8 | byte(2) << 16 | byte(3) << 24;
}

} // namespace

ReadStatus ReadPasswordHeader(std::string_view image, const PasswordPrompt& prompt,
                              PasswordFileHeader& header) {
    header = {};
    if (image.size() < kHeaderSize) {
        return ReadStatus::badFormat;
    }
    header.bEncrypted = image[0] != 0;
    header.bProtected = image[1] != 0;

    // What the user typed goes once it has been compared, whichever way this ends.
    std::string typed;
    const WipeOnExit wipeTyped(typed);
    if (header.bProtected) {
        std::optional<std::string> answer = prompt ? prompt() : std::nullopt;
        if (!answer) {
            return ReadStatus::cancelled;
        }
        typed = *answer;
        Wipe(*answer);
    }
    // An enciphered body means nothing to this edition, so nothing of it is looked at.
    if (header.bEncrypted) {
        return ReadStatus::encrypted;
    }

    const size_t nLength = std::min(ReadLe32(image.substr(2)), kMaxStoredLength);
    if (image.size() - kHeaderSize < nLength) {
        return ReadStatus::badFormat;
    }
    if (header.bProtected && typed != image.substr(kHeaderSize, nLength)) {
        return ReadStatus::wrongPassword;
    }

    // The stored password is only compared; an unprotected file's stored bytes are dropped.
    header.strMasterPassword = typed;
    header.stream = image.substr(kHeaderSize + nLength);
    return ReadStatus::ok;
}

} // namespace klt
