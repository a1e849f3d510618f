#include "list/DocumentEntries.h"

#include "document/KLTDoc.h"

#include <algorithm>

namespace klt {

bool HoldsEntry(const CKLTDoc& doc, const QMPassword* pEntry) {
    return std::any_of(doc.m_entryList.begin(), doc.m_entryList.end(),
                       [pEntry](const auto& p) { return p.get() == pEntry; });
}

bool RemoveEntry(CKLTDoc& doc, const QMPassword* pEntry) {
    auto& list = doc.m_entryList;
    const auto it =
        std::find_if(list.begin(), list.end(), [pEntry](const auto& p) { return p.get() == pEntry; });
    if (it == list.end()) {
        return false;
    }
    list.erase(it);
    return true;
}

std::size_t RemoveEntries(CKLTDoc& doc, const std::unordered_set<const QMPassword*>& entries) {
    return doc.m_entryList.remove_if([&entries](const auto& p) { return entries.contains(p.get()); });
}

std::vector<ListRow> EntryRows(const CKLTDoc& doc) {
    std::vector<ListRow> rows;
    rows.reserve(doc.m_entryList.size());
    for (const auto& pEntry : doc.m_entryList) {
        rows.push_back({pEntry->m_strSystem, reinterpret_cast<std::uintptr_t>(pEntry.get())});
    }
    return rows;
}

} // namespace klt
