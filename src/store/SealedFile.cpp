#include "store/SealedFile.h"

#include <new>
#include <sodium.h>

namespace klt {

namespace {

constexpr std::string_view kMagic = "KLTX";
constexpr uint8_t kVersion = 1;
constexpr uint8_t kAlgorithm = crypto_pwhash_ALG_ARGON2ID13;

constexpr size_t kOperationsAt = 6;
constexpr size_t kMemoryAt = 10;
constexpr size_t kSaltAt = 18;
constexpr size_t kNonceAt = kSaltAt + kSaltSize;

static_assert(kNonceAt + kNonceSize == kSealedHeaderSize);
static_assert(kSaltSize == crypto_pwhash_SALTBYTES);
static_assert(kNonceSize == crypto_aead_xchacha20poly1305_ietf_NPUBBYTES);
static_assert(kKeySize == crypto_aead_xchacha20poly1305_ietf_KEYBYTES);
static_assert(kTagSize == crypto_aead_xchacha20poly1305_ietf_ABYTES);

const unsigned char* Bytes(std::string_view text) {
    return reinterpret_cast<const unsigned char*>(text.data());
}

void PutLe(std::string& out, uint64_t value, size_t nBytes) {
    for (size_t i = 0; i < nBytes; ++i) {
        out.push_back(static_cast<char>(value >> (8 * i)));
    }
}

uint64_t GetLe(std::string_view bytes, size_t nBytes) {
    uint64_t value = 0;
    for (size_t i = nBytes; i-- > 0;) {
        value = value << 8 | static_cast<uint8_t>(bytes[i]);
    }
    return value;
}

bool WithinLimits(const KdfLimits& limits, const KdfLimits& maxLimits) {
    return limits.nOperations >= crypto_pwhash_OPSLIMIT_MIN && limits.nOperations <= maxLimits.nOperations &&
           limits.nMemory >= crypto_pwhash_MEMLIMIT_MIN && limits.nMemory <= maxLimits.nMemory;
}

} // namespace

bool IsSealedImage(std::string_view image) {
    return image.starts_with(kMagic);
}

std::string SealImage(std::string_view plain, std::string_view password, const KdfLimits& limits) {
    InitSodium();
    std::string salt(kSaltSize, '\0');
    std::string nonce(kNonceSize, '\0');
    randombytes_buf(salt.data(), salt.size());
    randombytes_buf(nonce.data(), nonce.size());
    return detail::SealImageWith(plain, password, limits, salt, nonce);
}

std::optional<SecretBytes> UnsealImage(std::string_view image, std::string_view password,
                                       const KdfLimits& maxLimits) {
    if (image.size() < kSealedHeaderSize + kTagSize || !IsSealedImage(image) ||
        static_cast<uint8_t>(image[4]) != kVersion || static_cast<uint8_t>(image[5]) != kAlgorithm) {
        return std::nullopt;
    }
    const KdfLimits limits{static_cast<uint32_t>(GetLe(image.substr(kOperationsAt), 4)),
                           GetLe(image.substr(kMemoryAt), 8)};
    if (!WithinLimits(limits, maxLimits)) {
        return std::nullopt;
    }
    const std::string_view header = image.substr(0, kSealedHeaderSize);
    const std::string_view sealed = image.substr(kSealedHeaderSize);
    const SecretBytes key = detail::DeriveKey(password, image.substr(kSaltAt, kSaltSize), limits);
    SecretBytes plain(sealed.size() - kTagSize);
    if (crypto_aead_xchacha20poly1305_ietf_decrypt(
            plain.data(), nullptr, nullptr, Bytes(sealed), sealed.size(), Bytes(header), header.size(),
            Bytes(image.substr(kNonceAt, kNonceSize)), key.data()) != 0) {
        return std::nullopt;
    }
    return plain;
}

namespace detail {

std::string SealImageWith(std::string_view plain, std::string_view password, const KdfLimits& limits,
                          std::string_view salt, std::string_view nonce) {
    std::string image(kMagic);
    image.push_back(static_cast<char>(kVersion));
    image.push_back(static_cast<char>(kAlgorithm));
    PutLe(image, limits.nOperations, 4);
    PutLe(image, limits.nMemory, 8);
    image.append(salt.substr(0, kSaltSize));
    image.append(nonce.substr(0, kNonceSize));
    const SecretBytes key = DeriveKey(password, salt, limits);

    image.resize(kSealedHeaderSize + plain.size() + kTagSize);
    auto* pOut = reinterpret_cast<unsigned char*>(image.data());
    crypto_aead_xchacha20poly1305_ietf_encrypt(pOut + kSealedHeaderSize, nullptr, Bytes(plain), plain.size(),
                                               pOut, kSealedHeaderSize, nullptr, Bytes(nonce), key.data());
    return image;
}

SecretBytes DeriveKey(std::string_view password, std::string_view salt, const KdfLimits& limits) {
    SecretBytes key(kKeySize);
    if (crypto_pwhash(key.data(), key.size(), password.data(), password.size(), Bytes(salt),
                      limits.nOperations, limits.nMemory, crypto_pwhash_ALG_ARGON2ID13) != 0) {
        throw std::bad_alloc(); // the limits were checked: only the memory can be missing
    }
    return key;
}

} // namespace detail

} // namespace klt
