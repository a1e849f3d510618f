#pragma once
// Finding and removing entries in the document's entry list by identity. Modal dialogs run nested
// event loops in which another command may empty or refill the document, so a command that held an
// entry pointer across a dialog checks with HoldsEntry before it touches the entry again.

#include "framework/ListBox.h"

#include <cstddef>
#include <unordered_set>
#include <vector>

class CKLTDoc;
class QMPassword;

namespace klt {

// Whether pEntry is one of the document's entries.
bool HoldsEntry(const CKLTDoc& doc, const QMPassword* pEntry);
// Removes the node that holds pEntry and frees the entry; false when the document does not hold it.
bool RemoveEntry(CKLTDoc& doc, const QMPassword* pEntry);
// Removes and frees every entry of the set in one pass over the list; returns how many went.
std::size_t RemoveEntries(CKLTDoc& doc, const std::unordered_set<const QMPassword*>& entries);
// A list row for each entry, in the document's order: its system name, with the entry as item data.
std::vector<ListRow> EntryRows(const CKLTDoc& doc);

} // namespace klt
