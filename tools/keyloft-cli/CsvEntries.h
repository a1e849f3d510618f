#pragma once
// Entries as CSV, the form password managers exchange: a header row, then one row per entry with
// its system name as "Title", "Username", "Password" and "Last Modified" in UTC.

#include "store/QMPassword.h"

#include <cstddef>
#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <string_view>

namespace klt::cli {

using EntryList = std::list<std::unique_ptr<QMPassword>>;

struct CsvExport {
    std::string text;
    // Texts that were not valid UTF-8 and went out as their Windows-1252 reading.
    size_t nConverted = 0;
};

// The entries in list order. The fourth text is not exported. With bSpreadsheetSafe a text that a
// spreadsheet would take for a formula (it begins with '=', '+', '-', '@', a tab or a carriage
// return) goes out behind an apostrophe.
CsvExport EntriesToCsv(const EntryList& entries, bool bSpreadsheetSafe);

struct CsvImport {
    EntryList entries;
    // Rows whose title an earlier row already had, given a name of their own.
    size_t nRenamed = 0;
};

// The entries of a CSV text, in row order. Columns are found by their header names without regard
// to case: Title, Name or System; Username, User or Login; Password; Last Modified or Modified.
// Other columns are passed over. Entries without a time of last change get timeNow. Every row
// arrives under a name of its own: a title that an earlier row used becomes "Title (user)", or
// "Title (user, 2)", "Title (2)" and so on when that is taken too. Throws CsvError, with the line,
// for text that is no CSV, a missing Title or Password column, a row with another number of fields
// than the header, a time that is no ISO 8601 date or does not fit the file, or a text too long
// for the file.
CsvImport EntriesFromCsv(std::string_view text, int32_t timeNow);

} // namespace klt::cli
