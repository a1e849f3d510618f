// The merge rule shared by File Merge and the command-line tool's import.

#include "store/EntryMerge.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

using klt::EntryList;
using klt::MergeChoice;

namespace {

struct Row {
    std::string system, user, password;
    int32_t time;
    std::string fourth;
    bool operator==(const Row&) const = default;
};
using Rows = std::vector<Row>;

EntryList Entries(const Rows& rows) {
    EntryList entries;
    for (const Row& row : rows) {
        entries.push_back(std::make_unique<QMPassword>(row.system, row.user, row.password, row.time));
        entries.back()->m_strFourth = row.fourth;
    }
    return entries;
}

Rows RowsOf(const EntryList& entries) {
    Rows rows;
    for (const auto& p : entries) {
        rows.push_back(
            {p->m_strSystem, p->m_strUserName, p->m_strPassword, p->m_timeLastChange, p->m_strFourth});
    }
    return rows;
}

struct Case {
    const char* name;
    Rows current, incoming;
    std::vector<MergeChoice> answers; // one per question, in order
    Rows merged;
    size_t nAdded, nReplaced, nKept, nSkipped, nNotices;
    bool bStopped;
};

const Case kCases[] = {
    {"times come together: the later wins, any difference is a change",
     {{"Mail", "ann", "pw", 100, "a"}, {"Web", "w", "w", 300, ""}, {"Same", "s", "s", 5, ""}},
     {{"Mail", "ann", "pw", 200, "x"}, {"Web", "w", "w", -86400, ""}, {"Same", "s", "s", 5, ""}},
     {},
     {{"Mail", "ann", "pw", 200, "a"}, {"Web", "w", "w", 300, ""}, {"Same", "s", "s", 5, ""}},
     0,
     0,
     0,
     3,
     2,
     false},
    {"new names, letter case counted, are appended in order with an empty fourth text",
     {{"mail", "me", "1", 9, "kept"}},
     {{"Mail", "you", "2", 8, "dropped"}, {"a", "u", "p", 7, ""}, {"Mail", "you", "2", 8, ""}},
     {},
     {{"mail", "me", "1", 9, "kept"}, {"Mail", "you", "2", 8, ""}, {"a", "u", "p", 7, ""}},
     2,
     0,
     0,
     1,
     2,
     false},
    {"differing entries are replaced or kept as answered, the fourth text stays",
     {{"Bank", "ann", "old", 300, "note"}, {"Web", "w", "w", 1, ""}},
     {{"Bank", "ann", "new", 200, "x"}, {"Web", "other", "w", 2, ""}},
     {MergeChoice::replace, MergeChoice::keep},
     {{"Bank", "ann", "new", 200, "note"}, {"Web", "w", "w", 1, ""}},
     0,
     1,
     1,
     0,
     1,
     false},
    {"the first entry of a name is the one matched",
     {{"Dup", "a", "1", 1, ""}, {"Dup", "b", "2", 1, ""}},
     {{"Dup", "b", "2", 1, ""}},
     {MergeChoice::replace},
     {{"Dup", "b", "2", 1, ""}, {"Dup", "b", "2", 1, ""}},
     0,
     1,
     0,
     0,
     1,
     false},
    {"stop leaves the rest alone",
     {{"A", "u", "1", 1, ""}},
     {{"A", "u", "2", 1, ""}, {"N", "u", "2", 1, ""}},
     {MergeChoice::stop},
     {{"A", "u", "1", 1, ""}},
     0,
     0,
     0,
     0,
     0,
     true},
};

} // namespace

TEST(EntryMerge, FollowsTheRuleWithTheAnswersGiven) {
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        EntryList entries = Entries(c.current);
        size_t nAsked = 0;
        size_t nNotices = 0;
        const klt::MergeCounts counts = klt::MergeEntries(
            entries, Entries(c.incoming),
            [&](QMPassword&, const QMPassword&) { return c.answers.at(nAsked++); },
            [&](QMPassword&, bool) { ++nNotices; });
        EXPECT_EQ(RowsOf(entries), c.merged);
        EXPECT_EQ(nAsked, c.answers.size());
        EXPECT_EQ(nNotices, c.nNotices);
        EXPECT_EQ((std::vector<size_t>{counts.nAdded, counts.nReplaced, counts.nKept, counts.nSkipped}),
                  (std::vector<size_t>{c.nAdded, c.nReplaced, c.nKept, c.nSkipped}));
        EXPECT_EQ(counts.bStopped, c.bStopped);
    }
}

TEST(EntryMerge, OneAnswerServesEveryDifferingEntry) {
    for (const MergeChoice answer : {MergeChoice::replace, MergeChoice::keep}) {
        EntryList entries = Entries({{"A", "u", "1", 1, ""}, {"B", "u", "1", 1, ""}});
        const klt::MergeCounts counts =
            klt::MergeEntries(entries, Entries({{"A", "v", "1", 2, ""}, {"B", "u", "2", 3, ""}}), answer);
        const bool bReplace = answer == MergeChoice::replace;
        EXPECT_EQ(counts.nReplaced, bReplace ? 2u : 0u);
        EXPECT_EQ(counts.nKept, bReplace ? 0u : 2u);
        EXPECT_EQ(RowsOf(entries).front(),
                  bReplace ? (Row{"A", "v", "1", 2, ""}) : (Row{"A", "u", "1", 1, ""}));
    }
}
