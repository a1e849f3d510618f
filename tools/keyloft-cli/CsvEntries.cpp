#include "keyloft-cli/CsvEntries.h"

#include "keyloft-cli/Csv.h"
#include "keyloft-cli/UtcTime.h"
#include "store/TextCodec.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <map>
#include <optional>
#include <unordered_set>
#include <vector>

namespace klt::cli {

namespace {

// The longest text the file's length prefix can describe.
constexpr size_t kMaxTextLength = std::numeric_limits<uint32_t>::max();

struct Column {
    const char* pszName; // as the messages name it
    std::array<std::string_view, 4> synonyms;
};

constexpr Column kTitle{"Title", {"title", "name", "system", "group/title"}};
constexpr Column kUsername{"Username", {"username", "user", "login", ""}};
constexpr Column kPassword{"Password", {"password", "", "", ""}};
constexpr Column kModified{"Last Modified", {"last modified", "modified", "", ""}};

std::string Folded(std::string_view text) {
    const size_t nFirst = text.find_first_not_of(" \t");
    const size_t nLast = text.find_last_not_of(" \t");
    std::string folded(nFirst == std::string_view::npos ? "" : text.substr(nFirst, nLast - nFirst + 1));
    std::transform(folded.begin(), folded.end(), folded.begin(),
                   [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c | 0x20) : c; });
    return folded;
}

// The index of the column, the earlier synonym preferred, or null.
std::optional<size_t> FindColumn(const std::vector<std::string>& header, const Column& column) {
    for (const std::string_view synonym : column.synonyms) {
        if (synonym.empty()) {
            break;
        }
        for (size_t i = 0; i < header.size(); ++i) {
            if (Folded(header[i]) == synonym) {
                return i;
            }
        }
    }
    return std::nullopt;
}

size_t RequireColumn(const CsvRecord& header, const Column& column) {
    const auto index = FindColumn(header.fields, column);
    if (!index) {
        std::string names;
        for (const std::string_view synonym : column.synonyms) {
            if (!synonym.empty()) {
                names += (names.empty() ? "\"" : ", \"") + std::string(synonym) + "\"";
            }
        }
        throw CsvError(header.nLine, std::string("no ") + column.pszName + " column (headed " + names + ")");
    }
    return *index;
}

int32_t TimeOf(const CsvRecord& row, std::string_view text, int32_t timeNow) {
    if (text.empty()) {
        return timeNow;
    }
    const auto time = ParseUtcTime(text);
    if (!time) {
        throw CsvError(row.nLine, "\"" + std::string(text) + "\" is not an ISO 8601 date and time");
    }
    if (*time < std::numeric_limits<int32_t>::min() || *time > std::numeric_limits<int32_t>::max()) {
        throw CsvError(row.nLine, "\"" + std::string(text) +
                                      "\" is outside 1901-12-13T20:45:52Z to 2038-01-19T03:14:07Z");
    }
    return static_cast<int32_t>(*time);
}

// "Title (user)" for n 1, else "Title (user, n)" or "Title (n)".
std::string RowName(const std::string& strTitle, const std::string& strUser, size_t n) {
    const std::string number = n == 1 ? "" : (strUser.empty() ? "" : ", ") + std::to_string(n);
    return strTitle + " (" + strUser + number + ")";
}

// Gives every entry whose title an earlier one has a name that no other entry has; how many.
size_t RenameRepeatedTitles(EntryList& entries) {
    std::unordered_set<std::string> taken; // every title, and the names given
    for (const auto& pEntry : entries) {
        taken.insert(pEntry->m_strSystem);
    }
    std::unordered_set<std::string> given;
    // Where the numbers go on for a title and user name, so that many repeats take no longer.
    std::map<std::pair<std::string, std::string>, size_t> next;
    size_t nRenamed = 0;
    for (const auto& pEntry : entries) {
        if (given.insert(pEntry->m_strSystem).second) {
            continue;
        }
        const std::string& user = pEntry->m_strUserName;
        size_t& n = next.try_emplace({pEntry->m_strSystem, user}, user.empty() ? 2 : 1).first->second;
        while (taken.contains(RowName(pEntry->m_strSystem, user, n))) {
            ++n;
        }
        pEntry->m_strSystem = RowName(pEntry->m_strSystem, user, n);
        taken.insert(pEntry->m_strSystem);
        given.insert(pEntry->m_strSystem);
        ++nRenamed;
    }
    return nRenamed;
}

// An apostrophe before a text a spreadsheet would take for a formula.
std::string SpreadsheetSafe(std::string text) {
    if (!text.empty() && std::string_view("=+-@\t\r").find(text.front()) != std::string_view::npos) {
        text.insert(0, 1, '\'');
    }
    return text;
}

} // namespace

CsvExport EntriesToCsv(const EntryList& entries, bool bSpreadsheetSafe) {
    CsvExport result;
    AppendCsvRecord(result.text, {kTitle.pszName, kUsername.pszName, kPassword.pszName, kModified.pszName});
    const auto utf8 = [&result, bSpreadsheetSafe](const std::string& text) {
        std::string cell = text;
        if (!IsValidUtf8(text)) {
            ++result.nConverted;
            cell = EncodeUtf8(DecodeText(text));
        }
        return bSpreadsheetSafe ? SpreadsheetSafe(std::move(cell)) : cell;
    };
    for (const auto& pEntry : entries) {
        AppendCsvRecord(result.text, {utf8(pEntry->m_strSystem), utf8(pEntry->m_strUserName),
                                      utf8(pEntry->m_strPassword), FormatUtcTime(pEntry->m_timeLastChange)});
    }
    return result;
}

CsvImport EntriesFromCsv(std::string_view text, int32_t timeNow) {
    CsvReader reader(text);
    CsvRecord header;
    if (!reader.Next(header)) {
        throw CsvError(1, "no header row");
    }
    const size_t nTitle = RequireColumn(header, kTitle);
    const size_t nPassword = RequireColumn(header, kPassword);
    const auto nUsername = FindColumn(header.fields, kUsername);
    const auto nModified = FindColumn(header.fields, kModified);

    CsvImport result;
    for (CsvRecord row; reader.Next(row);) {
        if (row.fields.size() != header.fields.size()) {
            const size_t n = row.fields.size();
            throw CsvError(row.nLine, std::to_string(n) + (n == 1 ? " field" : " fields") +
                                          " where the header has " + std::to_string(header.fields.size()));
        }
        for (const std::string& field : row.fields) {
            if (field.size() > kMaxTextLength) {
                throw CsvError(row.nLine, "a text longer than a password file can hold");
            }
        }
        result.entries.push_back(std::make_unique<QMPassword>(
            row.fields[nTitle], nUsername ? row.fields[*nUsername] : std::string(), row.fields[nPassword],
            nModified ? TimeOf(row, row.fields[*nModified], timeNow) : timeNow));
    }
    result.nRenamed = RenameRepeatedTitles(result.entries);
    return result;
}

} // namespace klt::cli
