#pragma once
// Merging entries into a password file without asking: the rules of the program's File Merge, with
// the question about differing entries answered once for all.

#include "keyloft-cli/CsvEntries.h"

#include <cstddef>

namespace klt::cli {

struct MergeCounts {
    size_t nAdded = 0;    // new system names, appended
    size_t nReplaced = 0; // differing entries that the incoming ones replaced
    size_t nKept = 0;     // differing entries left as they were
    size_t nSkipped = 0;  // entries already there with the same user name and password
};

// Matches each incoming entry, in order, with the first entry of the same system name (compared
// byte for byte). A new name is appended. An entry with the same user name and password keeps the
// later of the two times. One that differs takes the incoming system name, user name, password and
// time when bReplace is set (keeping its fourth text), and is kept as it is otherwise.
MergeCounts MergeEntries(EntryList& entries, EntryList incoming, bool bReplace);

} // namespace klt::cli
