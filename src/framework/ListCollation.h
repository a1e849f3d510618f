#pragma once
// The order of sorted list boxes: the collation of the user's locale, without regard to case, so
// that accented initials sort with their letters ("Ärger" beside "Apfel", not after "Zoo"). The C
// locale has no such collation: a language-neutral one stands in for it.

#include <QCollator>
#include <QString>

namespace klt {

const QCollator& ListCollator();
// Below, equal to or above zero as a sorts before, with or after b.
int CompareForList(const QString& a, const QString& b);

} // namespace klt
