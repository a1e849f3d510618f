#include "store/EntryMerge.h"

#include <algorithm>
#include <string>
#include <unordered_map>

namespace klt {

namespace {

// The first entry of each name: the one a search by name finds.
std::unordered_map<std::string, QMPassword*> IndexByName(const EntryList& entries) {
    std::unordered_map<std::string, QMPassword*> byName;
    for (const auto& pEntry : entries) {
        byName.emplace(pEntry->m_strSystem, pEntry.get());
    }
    return byName;
}

// bAsking: the decision asks somebody and may run an event loop meanwhile.
MergeCounts Merge(EntryList& entries, const EntryList& incoming, const MergeDecision& decide,
                  const MergeNotice& changed, bool bAsking) {
    const auto notify = [&changed](QMPassword& entry, bool bAdded) {
        if (changed) {
            changed(entry, bAdded);
        }
    };
    auto byName = IndexByName(entries);
    MergeCounts counts;
    for (const auto& pIncoming : incoming) {
        const QMPassword& with = *pIncoming;
        const auto it = byName.find(with.m_strSystem);
        if (it == byName.end()) {
            auto pEntry = std::make_unique<QMPassword>(with.m_strSystem, with.m_strUserName,
                                                       with.m_strPassword, with.m_timeLastChange);
            QMPassword& added = *pEntry;
            entries.push_back(std::move(pEntry));
            byName.emplace(added.m_strSystem, &added);
            ++counts.nAdded;
            notify(added, true);
            continue;
        }
        QMPassword& match = *it->second;
        if (match.m_strUserName == with.m_strUserName && match.m_strPassword == with.m_strPassword) {
            ++counts.nSkipped;
            if (match.m_timeLastChange != with.m_timeLastChange) {
                match.m_timeLastChange = std::max(match.m_timeLastChange, with.m_timeLastChange);
                notify(match, false);
            }
            continue;
        }
        const MergeChoice choice = decide(match, with);
        if (choice == MergeChoice::stop) {
            counts.bStopped = true;
            break;
        }
        if (bAsking) {
            // Other commands may have changed the list while the question was open.
            byName = IndexByName(entries);
        }
        if (choice == MergeChoice::keep) {
            ++counts.nKept;
            continue;
        }
        match.m_strUserName = with.m_strUserName;
        match.m_strPassword = with.m_strPassword;
        match.m_timeLastChange = with.m_timeLastChange;
        ++counts.nReplaced;
        notify(match, false);
    }
    return counts;
}

} // namespace

MergeCounts MergeEntries(EntryList& entries, const EntryList& incoming, const MergeDecision& decide,
                         const MergeNotice& changed) {
    return Merge(entries, incoming, decide, changed, true);
}

MergeCounts MergeEntries(EntryList& entries, const EntryList& incoming, MergeChoice answer) {
    return Merge(
        entries, incoming, [answer](QMPassword&, const QMPassword&) { return answer; }, {}, false);
}

} // namespace klt
