#pragma once
// Bytes that must not outlive their use: a key, a decrypted password file. They live in memory of
// their own that is locked against swapping where the system allows, fenced by guard pages, and
// wiped when freed.

#include <cstddef>
#include <string_view>

namespace klt {

class SecretBytes {
public:
    SecretBytes() = default;
    // nSize bytes, zeroed. Throws std::bad_alloc.
    explicit SecretBytes(size_t nSize);
    ~SecretBytes();
    SecretBytes(SecretBytes&& other) noexcept;
    SecretBytes& operator=(SecretBytes&& other) noexcept;
    SecretBytes(const SecretBytes&) = delete;
    SecretBytes& operator=(const SecretBytes&) = delete;

    unsigned char* data() { return m_pData; }
    const unsigned char* data() const { return m_pData; }
    size_t size() const { return m_nSize; }
    std::string_view View() const { return {reinterpret_cast<const char*>(m_pData), m_nSize}; }

private:
    unsigned char* m_pData = nullptr;
    size_t m_nSize = 0;
};

// Makes the cryptographic library ready; safe to call any number of times from any thread. Throws
// std::runtime_error when the library cannot start.
void InitSodium();

} // namespace klt
