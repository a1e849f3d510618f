// CSV reading and writing, times, and the entries built on them.

#include "keyloft-cli/Csv.h"

#include "keyloft-cli/CsvEntries.h"
#include "keyloft-cli/UtcTime.h"

#include <gtest/gtest.h>

using namespace klt::cli;

namespace {

using Rows = std::vector<std::vector<std::string>>;

Rows Fields(std::string_view text) {
    Rows rows;
    CsvReader reader(text);
    for (CsvRecord record; reader.Next(record);) {
        rows.push_back(record.fields);
    }
    return rows;
}

std::string ErrorOf(const std::function<void()>& read) {
    try {
        read();
    } catch (const CsvError& e) {
        return e.what();
    }
    return "no error";
}

Rows RowsOf(const EntryList& entries) {
    Rows rows;
    for (const auto& p : entries) {
        rows.push_back(
            {p->m_strSystem, p->m_strUserName, p->m_strPassword, std::to_string(p->m_timeLastChange)});
    }
    return rows;
}

} // namespace

TEST(Csv, WritesEveryFieldQuotedAndReadsQuotedFieldsAndEveryLineEnd) {
    std::string out;
    AppendCsvRecord(out, {"a,b", "say \"hi\"", "", "x\ny"});
    EXPECT_EQ(out, "\"a,b\",\"say \"\"hi\"\"\",\"\",\"x\ny\"\r\n");
    EXPECT_EQ(Fields("\xEF\xBB\xBF"
                     "a,b\r\n\"x,\"\"y\"\"\",\"1\r\n2\"\n\n,\rlast,\"\""),
              (Rows{{"a", "b"}, {"x,\"y\"", "1\r\n2"}, {"", ""}, {"last", ""}}));
    CsvReader reader("h\n\"two\nlines\"\nthird\r\n");
    CsvRecord record;
    for (const size_t nLine : {1u, 2u, 4u}) {
        ASSERT_TRUE(reader.Next(record));
        EXPECT_EQ(record.nLine, nLine);
    }
    EXPECT_FALSE(reader.Next(record));
}

TEST(Csv, RefusesBrokenTextWithItsLine) {
    EXPECT_EQ(ErrorOf([] { Fields("a,b\n\"c,d\n"); }), "line 2: a quoted field is never closed");
    EXPECT_EQ(ErrorOf([] { Fields("a\n\"b\"c\n"); }),
              "line 2: text after a closing quote; a quote inside a field must be doubled");
    EXPECT_EQ(ErrorOf([] { Fields("a\n\"b\nc\",\xE9t\xE9\n"); }), "line 3: the text is not valid UTF-8");
    // A header of nothing but commas stops at the bound, not after it took the memory.
    EXPECT_EQ(ErrorOf([] { Fields("a\n" + std::string(kMaxCsvFields, ',')); }),
              "line 2: more than 1000 fields");
    EXPECT_EQ(Fields(std::string(kMaxCsvFields - 1, ',')).front().size(), kMaxCsvFields);
}

TEST(UtcTime, ReadsTheFormsExportsUse) {
    const std::vector<std::pair<const char*, std::optional<int64_t>>> cases = {
        {"1999-02-01T00:00:00Z", 917827200},
        {"1999-02-01 00:00:00", 917827200},
        {"1999-02-01", 917827200},
        {"1999-02-01T01:30:00.250+01:30", 917827200},
        {"1999-01-31T23:00-0100", 917827200},
        {"1901-12-13T20:45:52Z", INT32_MIN},
        {"1999-02-30T00:00:00Z", std::nullopt},
        {"1999-02-01T24:00:00Z", std::nullopt},
        {"1999-02-01T00:00:00Z trailing", std::nullopt},
        {"917827200", std::nullopt},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(ParseUtcTime(text), expected) << text;
    }
    EXPECT_EQ(FormatUtcTime(INT32_MIN), "1901-12-13T20:45:52Z");
    EXPECT_EQ(FormatUtcTime(INT32_MAX), "2038-01-19T03:14:07Z");
    // Both sides of the epoch, leap days, and the days either side of a year's end and of March.
    for (const char* text :
         {"1970-01-01T00:00:00Z", "1969-12-31T23:59:59Z", "1904-02-29T12:00:00Z", "1903-03-01T00:00:00Z",
          "2000-02-29T00:00:01Z", "2000-03-01T00:00:00Z", "2024-12-31T23:59:59Z", "2037-02-28T08:09:10Z"}) {
        const auto time = ParseUtcTime(text);
        ASSERT_TRUE(time.has_value()) << text;
        EXPECT_EQ(FormatUtcTime(static_cast<int32_t>(*time)), text);
    }
}

TEST(CsvEntries, FindsColumnsByNameInOtherProgramsExports) {
    const auto keep =
        EntriesFromCsv("\"Group\",\"Title\",\"Username\",\"Password\",\"URL\",\"Notes\",\"Last "
                       "Modified\",\"Created\"\n\"Root\",\"Mail\",\"ann\",\"pw\",\"https://m\",\"\","
                       "\"1999-02-01T00:00:00Z\",\"1990-01-01T00:00:00Z\"\n",
                       7);
    EXPECT_EQ(RowsOf(keep.entries), (Rows{{"Mail", "ann", "pw", "917827200"}}));
    const auto browser = EntriesFromCsv("NAME,url,Login,password,note\nshop,https://s,bo,x,\n", 7);
    EXPECT_EQ(RowsOf(browser.entries), (Rows{{"shop", "bo", "x", "7"}}));
    const auto tabs =
        EntriesFromCsv("Group/Title\tUsername\tPassword\tNotes\nBank.Main\tann\t\"a,b c\"\t\"\"\n", 7);
    EXPECT_EQ(RowsOf(tabs.entries), (Rows{{"Bank.Main", "ann", "a,b c", "7"}}));
}

TEST(CsvEntries, RefusesRowsThatCannotBecomeEntries) {
    const std::vector<std::pair<const char*, const char*>> cases = {
        {"", "line 1: no header row"},
        {"url,username,password\n",
         "line 1: no Title column (headed \"title\", \"name\", \"system\", \"group/title\")"},
        {"title,user\n", "line 1: no Password column (headed \"password\")"},
        {"title,password\na,b\nc\n", "line 3: 1 field where the header has 2"},
        {"title,password,modified\na,b,yesterday\n",
         "line 2: \"yesterday\" is not an ISO 8601 date and time"},
        {"title,password,modified\na,b,2038-01-19T03:14:08Z\n",
         "line 2: \"2038-01-19T03:14:08Z\" is outside 1901-12-13T20:45:52Z to 2038-01-19T03:14:07Z"},
    };
    for (const auto& [text, message] : cases) {
        EXPECT_EQ(ErrorOf([text = text] { EntriesFromCsv(text, 0); }), message) << text;
    }
}

TEST(CsvEntries, EveryRowArrivesUnderANameOfItsOwn) {
    const CsvImport read = EntriesFromCsv("title,username,password\nGmail,ann,1\nGmail,bob,2\nGmail,ann,3\n"
                                          "Gmail (bob),x,4\nGmail,,5\nGmail,,6\n",
                                          7);
    EXPECT_EQ(RowsOf(read.entries), (Rows{{"Gmail", "ann", "1", "7"},
                                          {"Gmail (bob, 2)", "bob", "2", "7"},
                                          {"Gmail (ann)", "ann", "3", "7"},
                                          {"Gmail (bob)", "x", "4", "7"},
                                          {"Gmail (2)", "", "5", "7"},
                                          {"Gmail (3)", "", "6", "7"}}));
    EXPECT_EQ(read.nRenamed, 4u);
}

TEST(CsvEntries, SpreadsheetSafeCellsOnlyWhenAsked) {
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"=SUM(A1)", "'=SUM(A1)"}, {"+1", "'+1"},   {"-1", "'-1"},  {"@x", "'@x"},
        {"\tx", "'\tx"},           {"\rx", "'\rx"}, {"a=b", "a=b"}, {"", ""}};
    for (const auto& [text, safe] : cases) {
        EntryList entries;
        entries.push_back(std::make_unique<QMPassword>(text, text, text, 0));
        for (const bool bSafe : {false, true}) {
            const std::string& cell = bSafe ? safe : text;
            std::string expected;
            AppendCsvRecord(expected, {"Title", "Username", "Password", "Last Modified"});
            AppendCsvRecord(expected, {cell, cell, cell, "1970-01-01T00:00:00Z"});
            EXPECT_EQ(EntriesToCsv(entries, bSafe).text, expected) << text;
        }
    }
}
