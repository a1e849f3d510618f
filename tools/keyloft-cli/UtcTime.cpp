#include "keyloft-cli/UtcTime.h"

#include <chrono>
#include <cstdio>

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
    const sys_seconds tp{seconds(time)};
    const sys_days day = floor<days>(tp);
    const year_month_day ymd{day};
    const hh_mm_ss hms{tp - day};
    char text[32];
    std::snprintf(text, sizeof text, "%04d-%02u-%02uT%02d:%02d:%02dZ", static_cast<int>(ymd.year()),
                  static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()),
                  static_cast<int>(hms.hours().count()), static_cast<int>(hms.minutes().count()),
                  static_cast<int>(hms.seconds().count()));
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
