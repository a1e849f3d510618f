#pragma once
// The program's document and entry list for the merge tests, with password files written and read
// from outside the program.

#include "document/KLTDoc.h"
#include "framework/Framework.h"
#include "list/KLTView.h"
#include "support/scripted/DocViewTest.h"
#include "support/scripted/ScriptedUser.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

struct EntrySpec {
    std::string system;
    std::string user;
    std::string password;
    int32_t time = 0;
    bool operator==(const EntrySpec&) const = default;
};
void PrintTo(const EntrySpec& entry, std::ostream* os);

// The entry list with its list control open to the tests.
class MergeTestView : public CKLTView {
public:
    using CKLTView::m_listBox;
};

// The program's document and entry list in a frame of their own (DocViewTest).
class MergeFixture : public klt::testing::DocViewTest<CKLTDoc, MergeTestView> {
protected:
    // Writes a password file with these entries, protected when strMasterPassword is not empty.
    std::string WriteFile(const std::string& name, const std::vector<EntrySpec>& entries,
                          const std::string& strMasterPassword = "") const;
    // The entries of an unprotected password file, in file order.
    static std::vector<EntrySpec> ReadFile(const std::string& path);
    // Opens the file as the program's document, as File Open does.
    void OpenCurrent(const std::string& path);
    // File Merge, through the frame's command routing.
    void Merge();

    // The document's entries in list order; the rows' texts; the marked rows.
    std::vector<EntrySpec> Entries() const;
    std::vector<std::string> Rows() const;
    std::vector<int> MarkedRows() const;
    std::string LastFile() const;
};

// The last message box was "Merge complete." with OK and the warning icon.
void ExpectMergeComplete(const klt::testing::ScriptedUser& user);
