#include "store/IdentityMap.h"

#include <bit>

namespace klt {

size_t IdentityMap::Home(const void* pKey) const {
    // Fibonacci hashing: the top bits of the product depend on every bit of the address, so that
    // addresses a power of two apart (large heap blocks, pages) do not pile up on one slot.
    const uint64_t nHash = static_cast<uint64_t>(reinterpret_cast<uintptr_t>(pKey)) * 0x9E3779B97F4A7C15ull;
    return static_cast<size_t>(nHash >> m_nShift);
}

uint32_t IdentityMap::Find(const void* pKey) const {
    if (m_slots.empty()) {
        return 0;
    }
    for (size_t i = Home(pKey);; i = (i + 1) & (m_slots.size() - 1)) {
        if (m_slots[i].first == pKey) {
            return m_slots[i].second;
        }
        if (m_slots[i].first == nullptr) {
            return 0;
        }
    }
}

void IdentityMap::Insert(const void* pKey, uint32_t nIndex) {
    Reserve(1);
    size_t i = Home(pKey);
    while (m_slots[i].first != nullptr) {
        i = (i + 1) & (m_slots.size() - 1);
    }
    m_slots[i] = {pKey, nIndex};
    ++m_nSize;
}

void IdentityMap::Reserve(size_t nMore) {
    size_t nCapacity = m_slots.empty() ? 16 : m_slots.size();
    while (2 * (m_nSize + nMore) > nCapacity) {
        nCapacity *= 2;
    }
    if (nCapacity != m_slots.size()) {
        Rehash(nCapacity);
    }
}

void IdentityMap::Rehash(size_t nCapacity) {
    m_nShift = 64 - std::countr_zero(nCapacity);
    std::vector<Slot> old(nCapacity);
    old.swap(m_slots);
    m_nSize = 0;
    for (const Slot& slot : old) {
        if (slot.first != nullptr) {
            Insert(slot.first, slot.second);
        }
    }
}

} // namespace klt
