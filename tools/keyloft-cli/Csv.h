#pragma once
// Comma-separated values as RFC 4180 has them: records end in CRLF, a field that holds a comma, a
// quote or a line break is quoted, and a quote inside a quoted field is doubled.

#include <cstddef>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace klt::cli {

// A CSV text that cannot be read, or a record that cannot become an entry. The message begins with
// the line number ("line 4: ...").
class CsvError : public std::runtime_error {
public:
    CsvError(size_t nLine, const std::string& strMessage);
};

struct CsvRecord {
    size_t nLine = 0; // the line the record starts on, counting from 1
    std::vector<std::string> fields;
};

// Appends one record ended by CRLF. Every field is quoted, so that spaces at either end, commas,
// quotes and line breaks all come back as they were.
void AppendCsvRecord(std::string& out, const std::vector<std::string_view>& fields);

// The most fields a record may have; no export of entries comes near it.
constexpr size_t kMaxCsvFields = 1000;

// The records of a CSV text, one at a time, so that only the record at hand is held apart from the
// text. Lines may end in CRLF, LF or CR; empty lines are passed over, and a UTF-8 byte order mark
// at the start is skipped. A first line that holds tabs and no comma makes tabs the separator.
// Inside quotes every byte counts, line breaks included. Next throws CsvError for a quoted field
// that never ends, text after a closing quote, bytes that are not UTF-8, or more than
// kMaxCsvFields fields in a record.
class CsvReader {
public:
    explicit CsvReader(std::string_view text);
    // The next record into record; false at the end of the text.
    bool Next(CsvRecord& record);

private:
    bool AtLineBreak() const;
    void SkipLineBreak();
    void ReadRecord(std::vector<std::string>& fields);
    std::string ReadPlain();
    std::string ReadQuoted();

    std::string_view m_text;
    char m_cDelimiter = ',';
    size_t m_nPos = 0;
    size_t m_nLine = 1;
};

} // namespace klt::cli
