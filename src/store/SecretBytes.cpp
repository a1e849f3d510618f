#include "store/SecretBytes.h"

#include <new>
#include <sodium.h>
#include <stdexcept>
#include <utility>

namespace klt {

void InitSodium() {
    static const bool bReady = sodium_init() >= 0;
    if (!bReady) {
        throw std::runtime_error("the cryptographic library cannot start");
    }
}

SecretBytes::SecretBytes(size_t nSize) : m_nSize(nSize) {
    InitSodium();
    // A zero-byte request still gets a guarded block, so data() is never null once made.
    m_pData = static_cast<unsigned char*>(sodium_malloc(nSize == 0 ? 1 : nSize));
    if (m_pData == nullptr) {
        throw std::bad_alloc();
    }
    sodium_memzero(m_pData, nSize);
}

SecretBytes::~SecretBytes() {
    sodium_free(m_pData); // wipes the block before giving it back
}

SecretBytes::SecretBytes(SecretBytes&& other) noexcept
    : m_pData(std::exchange(other.m_pData, nullptr)), m_nSize(std::exchange(other.m_nSize, 0)) {}

SecretBytes& SecretBytes::operator=(SecretBytes&& other) noexcept {
    if (this != &other) {
        sodium_free(m_pData);
        m_pData = std::exchange(other.m_pData, nullptr);
        m_nSize = std::exchange(other.m_nSize, 0);
    }
    return *this;
}

} // namespace klt
