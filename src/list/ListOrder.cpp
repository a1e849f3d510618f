#include "ListOrder.h"

#include "QMPassword.h"

#include <algorithm>
#include <cstdint>

namespace klt {
namespace {

unsigned char FoldAscii(char ch) {
    const auto byte = static_cast<unsigned char>(ch);
    return byte >= 'A' && byte <= 'Z' ? static_cast<unsigned char>(byte - 'A' + 'a') : byte;
}

bool FoldedLess(const std::string& a, const std::string& b) {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return FoldAscii(x) < FoldAscii(y); });
}

// The first eight folded bytes as one number that orders as the bytes do, so that most comparisons
// need not visit the entries at all.
std::uint64_t FoldedPrefix(const std::string& text) {
    std::uint64_t prefix = 0;
    for (size_t i = 0; i < 8; ++i) {
        prefix = (prefix << 8) | (i < text.size() ? FoldAscii(text[i]) : 0u);
    }
    return prefix;
}

struct Keyed {
    std::uint64_t prefix;
    QMPassword* pEntry;
};

} // namespace

std::vector<QMPassword*> SortedForList(const std::list<std::unique_ptr<QMPassword>>& entries) {
    std::vector<Keyed> keyed;
    keyed.reserve(entries.size());
    for (const auto& pEntry : entries) {
        keyed.push_back({FoldedPrefix(pEntry->m_strSystem), pEntry.get()});
    }
    // Equal prefixes leave it to the whole texts (a text shorter than eight bytes pads with zero
    // bytes, which sort as the end of the text does, and the texts then decide).
    std::stable_sort(keyed.begin(), keyed.end(), [](const Keyed& a, const Keyed& b) {
        return a.prefix != b.prefix ? a.prefix < b.prefix
                                    : FoldedLess(a.pEntry->m_strSystem, b.pEntry->m_strSystem);
    });
    std::vector<QMPassword*> sorted;
    sorted.reserve(keyed.size());
    for (const Keyed& k : keyed) {
        sorted.push_back(k.pEntry);
    }
    return sorted;
}

} // namespace klt
