#include "keyloft-cli/EntryMerge.h"

#include <algorithm>
#include <unordered_map>

namespace klt::cli {

MergeCounts MergeEntries(EntryList& entries, EntryList incoming, bool bReplace) {
    // The first entry of each name is the one a search by name finds.
    std::unordered_map<std::string, QMPassword*> byName;
    for (const auto& pEntry : entries) {
        byName.emplace(pEntry->m_strSystem, pEntry.get());
    }
    MergeCounts counts;
    for (auto& pIncoming : incoming) {
        const auto it = byName.find(pIncoming->m_strSystem);
        if (it == byName.end()) {
            byName.emplace(pIncoming->m_strSystem, pIncoming.get());
            entries.push_back(std::move(pIncoming));
            ++counts.nAdded;
            continue;
        }
        QMPassword& match = *it->second;
        if (match.m_strUserName == pIncoming->m_strUserName &&
            match.m_strPassword == pIncoming->m_strPassword) {
            match.m_timeLastChange = std::max(match.m_timeLastChange, pIncoming->m_timeLastChange);
            ++counts.nSkipped;
        } else if (bReplace) {
            match.m_strUserName = pIncoming->m_strUserName;
            match.m_strPassword = pIncoming->m_strPassword;
            match.m_timeLastChange = pIncoming->m_timeLastChange;
            ++counts.nReplaced;
        } else {
            ++counts.nKept;
        }
    }
    return counts;
}

} // namespace klt::cli
