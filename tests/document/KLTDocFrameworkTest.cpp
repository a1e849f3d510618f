// The document inside the framework's single-document template: what New and Open do around it,
// and what its views see while a file is being opened.

#include "document/DocTestFiles.h"
#include "document/KLTDoc.h"
#include "framework/Dialog.h"
#include "framework/DocTemplate.h"
#include "framework/FrameWnd.h"
#include "framework/View.h"
#include "support/scripted/DocViewTest.h"
#include "support/scripted/ScriptedUser.h"

using klt::test::DocApp;
using klt::test::DocFolder;
using klt::test::TwoEntries;
using klt::testing::ScriptedUser;

namespace {

// Keeps what a list view would: the entries as they were at the last update.
class EntryView : public CView {
public:
    void OnUpdate(CView*, LPARAM, CObject*) override {
        m_rows.clear();
        for (const auto& pEntry : static_cast<CKLTDoc*>(GetDocument())->m_entryList) {
            m_rows.push_back(pEntry.get());
        }
    }
    void OnDraw(CDC*) override {}

    std::vector<const QMPassword*> m_rows;
};

class KLTDocFrameworkTest : public klt::testing::DocViewTest<CKLTDoc, EntryView, CFrameWnd, DocApp> {
protected:
    void OpenTwoEntries() {
        m_path = m_files.Write("two.klt", TwoEntries());
        ASSERT_EQ(m_pApp->OpenDocumentFile(m_path), m_pDoc);
        ASSERT_EQ(m_pView->m_rows.size(), 2u);
    }

    void ExpectUntitled() {
        EXPECT_EQ(m_pDoc->GetPathName(), "");
        EXPECT_EQ(m_pDoc->GetTitle(), "Untitled");
        EXPECT_FALSE(m_pDoc->IsModified());
        EXPECT_TRUE(m_pDoc->m_entryList.empty());
        EXPECT_TRUE(m_pView->m_rows.empty());
    }

    DocFolder m_files;
    std::string m_path;
};

} // namespace

TEST_F(KLTDocFrameworkTest, ViewsShowNoFreedEntryWhileThePasswordIsAsked) {
    OpenTwoEntries();
    const std::string other = m_files.Write("other.klt", TwoEntries("pw"));
    ScriptedUser user;
    user.Dialog(IDD_PASSWORD)
        .Inspect([this](CDialog&) { EXPECT_TRUE(m_pView->m_rows.empty()); })
        .Type(IDC_PASSWORD, "pw")
        .Click(IDOK);
    ASSERT_EQ(m_pApp->OpenDocumentFile(other), m_pDoc);
    EXPECT_EQ(m_pView->m_rows.size(), 2u);
    EXPECT_EQ(m_pView->m_rows.front(), m_pDoc->m_entryList.front().get());
    EXPECT_EQ(m_pDoc->GetTitle(), "other.klt");
}

TEST_F(KLTDocFrameworkTest, FailedOpenLeavesAnUntitledDocumentThatCannotOverwriteTheFormerFile) {
    OpenTwoEntries();
    const std::string formerBytes = DocFolder::Read(m_path);
    std::string bad = TwoEntries().Build();
    bad.resize(bad.size() - 3);
    const std::string badPath = m_files.Write("bad.klt", bad);

    ScriptedUser user;
    user.Answer(IDOK); // "Unexpected file format."
    EXPECT_EQ(m_pApp->OpenDocumentFile(badPath), nullptr);
    ExpectUntitled();

    // Save now asks for a name instead of writing the former file.
    user.CancelFileDialog();
    EXPECT_FALSE(m_pDoc->DoFileSave());
    EXPECT_EQ(user.FileDialogs().size(), 1u);
    EXPECT_EQ(DocFolder::Read(m_path), formerBytes);
}

TEST_F(KLTDocFrameworkTest, CancelledPasswordPromptAlsoLeavesAnUntitledDocument) {
    OpenTwoEntries();
    const std::string protectedPath = m_files.Write("locked.klt", TwoEntries("pw"));
    ScriptedUser user;
    user.Dialog(IDD_PASSWORD).Click(IDCANCEL);
    EXPECT_EQ(m_pApp->OpenDocumentFile(protectedPath), nullptr);
    EXPECT_TRUE(user.MessageBoxes().empty());
    ExpectUntitled();
}

TEST_F(KLTDocFrameworkTest, OpenGivesWayToAChangeMadeWhileItsPasswordIsAsked) {
    OpenTwoEntries();
    const std::string other = m_files.Write("other.klt", TwoEntries("pw"));
    ScriptedUser user;
    user.Dialog(IDD_PASSWORD)
        .Inspect([this](CDialog&) {
            // Another command adds an entry meanwhile, as the tray's Add does.
            m_pDoc->m_entryList.push_back(std::make_unique<QMPassword>("Added", "", "", 0));
            m_pDoc->SetModifiedFlag();
        })
        .Type(IDC_PASSWORD, "pw")
        .Click(IDOK);
    EXPECT_EQ(m_pApp->OpenDocumentFile(other), nullptr);
    ASSERT_EQ(m_pDoc->m_entryList.size(), 1u);
    EXPECT_EQ(m_pDoc->m_entryList.front()->m_strSystem, "Added");
    EXPECT_TRUE(m_pDoc->IsModified());
    EXPECT_EQ(m_pDoc->GetPathName(), m_path);
}
