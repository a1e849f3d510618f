#pragma once
// The program's document and entry list in a frame of their own, made new for each test with the
// settings emptied, and a folder for password files.

#include "Framework.h"
#include "KLTDoc.h"
#include "KLTView.h"
#include "ScriptedUser.h"

#include <QTemporaryDir>
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

class MergeFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::string PathOf(const std::string& name) const;
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

    QTemporaryDir m_dir;
    std::unique_ptr<CWinApp> m_pApp;
    CFrameWnd* m_pFrame = nullptr;
    CKLTDoc* m_pDoc = nullptr;
    MergeTestView* m_pView = nullptr;
};

// The last message box was "Merge complete." with OK and the warning icon.
void ExpectMergeComplete(const klt::testing::ScriptedUser& user);
