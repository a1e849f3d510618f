#include "ListOrder.h"

#include "QMPassword.h"

#include <algorithm>

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

} // namespace

std::vector<QMPassword*> SortedForList(const std::list<std::unique_ptr<QMPassword>>& entries) {
    std::vector<QMPassword*> sorted;
    sorted.reserve(entries.size());
    for (const auto& pEntry : entries) {
        sorted.push_back(pEntry.get());
    }
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const QMPassword* a, const QMPassword* b) { return FoldedLess(a->m_strSystem, b->m_strSystem); });
    return sorted;
}

} // namespace klt
