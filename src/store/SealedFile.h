#pragma once
// The encrypted password file (.kltx): a header, then the bytes of the plain password file,
// encrypted and authenticated with a key derived from the master password.
//
//     "KLTX"  version (1)  key derivation algorithm (1: 2 = Argon2id 1.3)
//     operations (4, little-endian)  memory in bytes (8, little-endian)  salt (16)  nonce (24)
//     ciphertext, then its 16-byte authentication tag (XChaCha20-Poly1305)
//
// The whole header is the cipher's associated data: no byte of the file changes unnoticed.

#include "store/SecretBytes.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace klt {

struct KdfLimits {
    uint32_t nOperations = 0;
    uint64_t nMemory = 0; // bytes
};

// What a save uses: Argon2id's moderate limits, three passes over 256 MiB.
inline constexpr KdfLimits kSaveKdfLimits{3, uint64_t{256} << 20};
// The most a file may ask for. One asking for more is refused before any work, so that a hostile
// file cannot exhaust the machine.
inline constexpr KdfLimits kMaxKdfLimits{20, uint64_t{1} << 30};

inline constexpr size_t kSaltSize = 16;
inline constexpr size_t kNonceSize = 24;
inline constexpr size_t kKeySize = 32;
inline constexpr size_t kSealedHeaderSize = 4 + 1 + 1 + 4 + 8 + kSaltSize + kNonceSize;
inline constexpr size_t kTagSize = 16;

// Whether image begins as an encrypted file does. A plain file never does: its first byte is a flag.
bool IsSealedImage(std::string_view image);

// The file's bytes for plain, with a fresh random salt and nonce. Throws std::bad_alloc when the key
// derivation cannot have its memory.
std::string SealImage(std::string_view plain, std::string_view password,
                      const KdfLimits& limits = kSaveKdfLimits);

// The plain bytes of an encrypted file, or nullopt when it is refused: an unknown version or
// algorithm, limits outside [minimum, maxLimits], a wrong password or a changed byte, which look
// the same. Throws std::bad_alloc as SealImage.
std::optional<SecretBytes> UnsealImage(std::string_view image, std::string_view password,
                                       const KdfLimits& maxLimits = kMaxKdfLimits);

namespace detail {

// SealImage with the given salt (kSaltSize bytes) and nonce (kNonceSize bytes), so that tests can
// pin the format to fixed bytes.
std::string SealImageWith(std::string_view plain, std::string_view password, const KdfLimits& limits,
                          std::string_view salt, std::string_view nonce);

// The key for password and salt. Throws std::bad_alloc as SealImage.
SecretBytes DeriveKey(std::string_view password, std::string_view salt, const KdfLimits& limits);

} // namespace detail

} // namespace klt
