#pragma once
// The order in which the entry list's rows are best added: the sorted list box places every row
// itself, but a row that sorts after all rows so far is appended without moving the others, so
// adding rows in nearly the list's own order keeps a rebuild near n log n instead of n squared.

#include <list>
#include <memory>
#include <vector>

class QMPassword;

namespace klt {

// The entries ascending by system name in the list box's own collation; equal names keep their
// order. Added in this order, every row goes to the end of the list without a search.
std::vector<QMPassword*> SortedForList(const std::list<std::unique_ptr<QMPassword>>& entries);

} // namespace klt
