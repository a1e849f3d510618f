#include "framework/ListCollation.h"

#include <QLocale>

namespace klt {

const QCollator& ListCollator() {
    static const QCollator collator = [] {
        QLocale locale;
        if (locale.language() == QLocale::C) {
            locale = QLocale(QLocale::English, QLocale::UnitedStates);
        }
        QCollator made(locale);
        made.setCaseSensitivity(Qt::CaseInsensitive);
        return made;
    }();
    return collator;
}

int CompareForList(const QString& a, const QString& b) {
    return ListCollator().compare(a, b);
}

} // namespace klt
