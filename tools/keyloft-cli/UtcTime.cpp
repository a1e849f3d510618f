#include "keyloft-cli/UtcTime.h"

#include <chrono>

namespace klt::cli {

namespace {

using namespace std::chrono;

// Reads exactly nDigits decimal digits at pos.
std::optional<int> Digits(std::string_view text, size_t& pos, size_t nDigits) {
    if (pos + nDigits > text.size()) {
        return std::nullopt;
    }
    int n = 0;
    for (size_t i = 0; i < nDigits; ++i, ++pos) {
        if (text[pos] < '0' || text[pos] > '9') {
            return std::nullopt;
        }
        n = n * 10 + (text[pos] - '0');
    }
    return n;
}

bool Take(std::string_view text, size_t& pos, char c) {
    if (pos < text.size() && text[pos] == c) {
        ++pos;
        return true;
    }
    return false;
}

// Seconds east of UTC, from what is left of the text.
std::optional<int> ZoneOffset(std::string_view text, size_t& pos) {
    if (pos == text.size() || Take(text, pos, 'Z')) {
        return 0;
    }
    const char sign = text[pos];
    if (sign != '+' && sign != '-') {
        return std::nullopt;
    }
    ++pos;
    const auto hours = Digits(text, pos, 2);
    std::optional<int> minutes = 0;
    if (pos < text.size()) {
        Take(text, pos, ':');
        minutes = Digits(text, pos, 2);
    }
    if (!hours || !minutes || *hours > 23 || *minutes > 59) {
        return std::nullopt;
    }
    const int offset = *hours * 3600 + *minutes * 60;
    return sign == '+' ? offset : -offset;
}

} // namespace

std::string FormatUtcTime(int32_t time) {
    // The civil date by arithmetic on days since 1970-01-01, counted in eras of 400 years from
    // 0000-03-01 so that the leap day ends each year; a calendar library's way costs an export many
    // times more.
    const int64_t nSeconds = time;
    const int64_t nDays = (nSeconds >= 0 ? nSeconds : nSeconds - 86399) / 86400;
    const auto nOfDay = static_cast<int>(nSeconds - nDays * 86400);
    const int64_t nShifted = nDays + 719468;
    const int64_t nEra = (nShifted >= 0 ? nShifted : nShifted - 146096) / 146097;
    const int64_t nDayOfEra = nShifted - nEra * 146097;
    const int64_t nYearOfEra = (nDayOfEra - nDayOfEra / 1460 + nDayOfEra / 36524 - nDayOfEra / 146096) / 365;
    const int64_t nDayOfYear = nDayOfEra - (365 * nYearOfEra + nYearOfEra / 4 - nYearOfEra / 100);
    const int64_t nMonthFromMarch = (5 * nDayOfYear + 2) / 153;
    const auto nDay = static_cast<int>(nDayOfYear - (153 * nMonthFromMarch + 2) / 5 + 1);
    const auto nMonth = static_cast<int>(nMonthFromMarch < 10 ? nMonthFromMarch + 3 : nMonthFromMarch - 9);
    const auto nYear = static_cast<int>(nYearOfEra + nEra * 400 + (nMonth <= 2 ? 1 : 0));

    std::string text = "0000-00-00T00:00:00Z";
    const auto put = [&text](size_t pos, int value, int nDigits) {
        for (int i = nDigits - 1; i >= 0; --i, value /= 10) {
            text[pos + static_cast<size_t>(i)] = static_cast<char>('0' + value % 10);
        }
    };
    put(0, nYear, 4);
    put(5, nMonth, 2);
    put(8, nDay, 2);
    put(11, nOfDay / 3600, 2);
    put(14, nOfDay / 60 % 60, 2);
    put(17, nOfDay % 60, 2);
    return text;
}

std::optional<int64_t> ParseUtcTime(std::string_view text) {
    size_t pos = 0;
    const auto y = Digits(text, pos, 4);
    const bool bDash1 = Take(text, pos, '-');
    const auto m = Digits(text, pos, 2);
    const bool bDash2 = Take(text, pos, '-');
    const auto d = Digits(text, pos, 2);
    if (!y || !bDash1 || !m || !bDash2 || !d) {
        return std::nullopt;
    }
    const year_month_day ymd{year(*y), month(static_cast<unsigned>(*m)), day(static_cast<unsigned>(*d))};
    if (!ymd.ok()) {
        return std::nullopt;
    }
    int64_t nSeconds = sys_days(ymd).time_since_epoch().count() * int64_t{86400};
    if (Take(text, pos, 'T') || Take(text, pos, ' ')) {
        const auto hh = Digits(text, pos, 2);
        const bool bColon = Take(text, pos, ':');
        const auto mm = Digits(text, pos, 2);
        std::optional<int> ss = 0;
        if (Take(text, pos, ':')) {
            ss = Digits(text, pos, 2);
            // A fraction is dropped: the file keeps whole seconds.
            if (Take(text, pos, '.') || Take(text, pos, ',')) {
                while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
                    ++pos;
                }
            }
        }
        if (!hh || !bColon || !mm || !ss || *hh > 23 || *mm > 59 || *ss > 60) {
            return std::nullopt;
        }
        nSeconds += *hh * 3600 + *mm * 60 + *ss;
    }
    const auto offset = ZoneOffset(text, pos);
    if (!offset || pos != text.size()) {
        return std::nullopt;
    }
    return nSeconds - *offset;
}

} // namespace klt::cli
