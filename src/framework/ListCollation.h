#pragma once
// The order of sorted list boxes: the collation of the user's locale, without regard to case, so
// that accented initials sort with their letters ("Ärger" beside "Apfel", not after "Zoo"). The C
// locale has no such collation: a language-neutral one stands in for it.

#include <QString>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace klt {

// Below, equal to or above zero as a sorts before, with or after b.
int CompareForList(const QString& a, const QString& b);
// Appends the collation key of text to keys and returns its length. Keys end in a zero byte and
// hold no other: compared byte by byte as unsigned up to that zero, they order as their texts do.
std::size_t AppendSortKey(const QString& text, std::vector<std::uint8_t>& keys);

} // namespace klt
