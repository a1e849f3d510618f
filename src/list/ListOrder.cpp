#include "list/ListOrder.h"

#include "framework/ListCollation.h"
#include "framework/QtText.h"
#include "store/QMPassword.h"

#include <QCollatorSortKey>
#include <algorithm>

namespace klt {
namespace {

struct Keyed {
    QCollatorSortKey key;
    QMPassword* pEntry;
};

} // namespace

std::vector<QMPassword*> SortedForList(const std::list<std::unique_ptr<QMPassword>>& entries) {
    // Each name's collation key once, then comparisons of keys alone.
    std::vector<Keyed> keyed;
    keyed.reserve(entries.size());
    for (const auto& pEntry : entries) {
        keyed.push_back({ListCollator().sortKey(ToQString(pEntry->m_strSystem)), pEntry.get()});
    }
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const Keyed& a, const Keyed& b) { return a.key.compare(b.key) < 0; });
    std::vector<QMPassword*> sorted;
    sorted.reserve(keyed.size());
    for (const Keyed& k : keyed) {
        sorted.push_back(k.pEntry);
    }
    return sorted;
}

} // namespace klt
