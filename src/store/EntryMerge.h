#pragma once
// The merge rule: entries of another list come into this one by exact system name. A new name is
// appended, an entry with the same user name and password keeps the later of the two times, and one
// that differs is replaced or kept as the caller decides. File Merge and the command-line tool's
// import share it.

#include "store/QMPassword.h"

#include <cstddef>
#include <functional>
#include <list>
#include <memory>

namespace klt {

using EntryList = std::list<std::unique_ptr<QMPassword>>;

// What becomes of an entry that differs from the incoming one of its name; stop ends the merge.
enum class MergeChoice { replace, keep, stop };

struct MergeCounts {
    size_t nAdded = 0;    // new system names, appended
    size_t nReplaced = 0; // differing entries that the incoming ones replaced
    size_t nKept = 0;     // differing entries left as they were
    size_t nSkipped = 0;  // entries already there with the same user name and password
    bool bStopped = false;
};

// Asked for each differing entry. It may run an event loop in which the list changes: answering stop
// then leaves the list alone from there on.
using MergeDecision = std::function<MergeChoice(QMPassword& current, const QMPassword& incoming)>;
// Told of each change as it is made: an entry appended (bAdded), replaced, or given a later time; an
// entry whose time differs counts as changed even when it keeps its own, later time.
using MergeNotice = std::function<void(QMPassword& entry, bool bAdded)>;

// Matches each incoming entry, in order, with the first entry of the same system name (compared byte
// for byte). An appended entry has the incoming system name, user name, password and time, and an
// empty fourth text; a replaced one takes the same four and keeps its fourth text.
MergeCounts MergeEntries(EntryList& entries, const EntryList& incoming, const MergeDecision& decide,
                         const MergeNotice& changed = {});
// The same with one answer for every differing entry, asked of nobody.
MergeCounts MergeEntries(EntryList& entries, const EntryList& incoming, MergeChoice answer);

} // namespace klt
