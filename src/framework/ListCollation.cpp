#include "framework/ListCollation.h"

#include <QLocale>
#include <memory>
#include <unicode/ucol.h>

namespace klt {
namespace {

// The collator of every sorted list, opened at its first use. Its keys and its comparisons come
// from the same object, so that rows sorted by keys and a row put in by comparing agree.
const UCollator* Collator() {
    static const std::unique_ptr<UCollator, decltype(&ucol_close)> collator(
        [] {
            QLocale locale;
            if (locale.language() == QLocale::C) {
                locale = QLocale(QLocale::English, QLocale::UnitedStates);
            }
            UErrorCode status = U_ZERO_ERROR;
            UCollator* pOpened =
                ucol_open(locale.bcp47Name().replace('-', '_').toLatin1().constData(), &status);
            if (pOpened == nullptr) {
                status = U_ZERO_ERROR;
                pOpened = ucol_open("", &status); // the language-neutral root collation
            }
            // Canonically equivalent texts are equal; letter case is the third level, left out.
            ucol_setAttribute(pOpened, UCOL_NORMALIZATION_MODE, UCOL_ON, &status);
            ucol_setAttribute(pOpened, UCOL_STRENGTH, UCOL_SECONDARY, &status);
            return pOpened;
        }(),
        &ucol_close);
    return collator.get();
}

const UChar* Units(const QString& text) {
    return reinterpret_cast<const UChar*>(text.utf16());
}

} // namespace

int CompareForList(const QString& a, const QString& b) {
    // An empty text comes before every other, even one of characters the collation ignores.
    if (a.isEmpty() || b.isEmpty()) {
        return (a.isEmpty() ? 0 : 1) - (b.isEmpty() ? 0 : 1);
    }
    return ucol_strcoll(Collator(), Units(a), static_cast<int32_t>(a.size()), Units(b),
                        static_cast<int32_t>(b.size()));
}

std::size_t AppendSortKey(const QString& text, std::vector<std::uint8_t>& keys) {
    const std::size_t nStart = keys.size();
    if (text.isEmpty()) {
        keys.push_back(0); // before every other key, as CompareForList has it
        return 1;
    }
    // Most keys fit a guess of three bytes a character; the few others are written again.
    const auto nGuess = static_cast<int32_t>(3 * text.size() + 16);
    keys.resize(nStart + static_cast<std::size_t>(nGuess));
    int32_t nLength = ucol_getSortKey(Collator(), Units(text), static_cast<int32_t>(text.size()),
                                      keys.data() + nStart, nGuess);
    if (nLength > nGuess) {
        keys.resize(nStart + static_cast<std::size_t>(nLength));
        nLength = ucol_getSortKey(Collator(), Units(text), static_cast<int32_t>(text.size()),
                                  keys.data() + nStart, nLength);
    }
    keys.resize(nStart + static_cast<std::size_t>(nLength));
    return static_cast<std::size_t>(nLength);
}

} // namespace klt
