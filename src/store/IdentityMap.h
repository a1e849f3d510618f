#pragma once
// The index a storing archive gave each object and class it wrote, by identity. Open addressing
// with linear probing: writing a million entries costs no allocation per entry.

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace klt {

class IdentityMap {
public:
    // The index stored for pKey, or 0 (no index is ever 0).
    uint32_t Find(const void* pKey) const;
    // Stores nIndex for a pKey that is not in the map yet.
    void Insert(const void* pKey, uint32_t nIndex);
    // Makes room for nMore further keys at once.
    void Reserve(size_t nMore);

private:
    using Slot = std::pair<const void*, uint32_t>;

    size_t Home(const void* pKey) const;
    void Rehash(size_t nCapacity);

    std::vector<Slot> m_slots; // a power of two long, at most half full
    size_t m_nSize = 0;
    int m_nShift = 64; // 64 - log2 of the table's length
};

} // namespace klt
