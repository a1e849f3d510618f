#pragma once
// Times of last change as ISO 8601 texts: written in UTC ("1999-02-01T00:00:00Z"), read in the
// forms other programs' exports use.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace klt::cli {

// "YYYY-MM-DDThh:mm:ssZ".
std::string FormatUtcTime(int32_t time);

// Seconds since 1970 of "YYYY-MM-DD", optionally followed by 'T' or a blank and "hh:mm", ":ss" and
// a fraction of a second, then "Z" or an offset ("+hh:mm", "+hhmm", "+hh"). A text without a zone
// is taken as UTC. Nothing else may follow. Null when the text is no such date and time.
std::optional<int64_t> ParseUtcTime(std::string_view text);

} // namespace klt::cli
