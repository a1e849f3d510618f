#pragma once
// What the entry list needs of its list box to stay quick with a hundred thousand rows, where the
// list box's general operations would be slow.

#include <string>
#include <utility>
#include <vector>

class CListBox;

namespace klt {

// The indices of the marked rows, ascending. Asking row by row would look up each row's place
// again after rows were inserted or removed, which makes a pass over a long list quadratic; the
// list's selection answers at once.
std::vector<int> MarkedRows(const CListBox& list);

// The rows [first, second) of a sorted list whose texts sort equal to text: a search in the sorted
// rows instead of a pass over all of them.
std::pair<int, int> RowsSortedAs(const CListBox& list, const std::string& text);

} // namespace klt
