// Adding entries through the New entry dialog and deleting the current or all marked entries.

#include "list/ListFixture.h"

#include <ctime>

namespace {

using Names = std::vector<std::string>;

const char* const kNeedName = "You must enter a system name.";
const char* const kDuplicate =
    "This system name has already been defined.  Please enter a unique system name.";

} // namespace

class AddTest : public ListTest {};

TEST_F(AddTest, NewEntryBecomesTheMarkedCaretRowAndTheDocumentIsModified) {
    Fill({"b", "d"});
    m_user.Dialog(IDD_NEW_ENTRY)
        .Inspect([](CDialog& d) { EXPECT_EQ(FocusedId(d), IDC_SYSTEM); })
        .Type(IDC_SYSTEM, "c")
        .Type(IDC_USERNAME, "ann")
        .Click(IDOK);
    const std::time_t before = std::time(nullptr);
    Command(ID_EDIT_ADD);
    EXPECT_EQ(Rows(), (Names{"b", "c", "d"}));
    EXPECT_EQ(Marked(), std::vector<int>{1});
    EXPECT_EQ(Caret(), 1);
    EXPECT_TRUE(m_pDoc->IsModified());
    // Appended to the document, not sorted into it.
    EXPECT_EQ(DocumentNames(), (Names{"b", "d", "c"}));
    const QMPassword& entry = *m_pDoc->m_entryList.back();
    EXPECT_EQ(m_pView->GetCurrentEntry(), &entry);
    EXPECT_EQ(entry.m_strUserName, "ann");
    EXPECT_EQ(entry.m_strPassword, "");
    EXPECT_EQ(entry.m_strFourth, "");
    EXPECT_GE(entry.m_timeLastChange, before);
    EXPECT_LE(entry.m_timeLastChange, std::time(nullptr));
    // An empty password needed no confirmation.
    EXPECT_EQ(m_user.Dialogs(), std::vector<UINT>{IDD_NEW_ENTRY});
}

TEST_F(AddTest, EmptySystemNameIsRefusedButBlanksAreAName) {
    m_user.Dialog(IDD_NEW_ENTRY).Type(IDC_USERNAME, "ann").Click(IDOK);
    m_user.Answer(IDOK);
    m_user
        .Inspect([](CDialog& d) {
            EXPECT_EQ(FocusedId(d), IDC_SYSTEM);
            EXPECT_EQ(d.GetDlgItemText(IDC_USERNAME), "ann");
        })
        .Type(IDC_SYSTEM, "  ")
        .Click(IDOK);
    Command(ID_EDIT_ADD);
    ASSERT_EQ(m_user.MessageBoxes().size(), 1u);
    EXPECT_EQ(m_user.MessageBoxes()[0].text, kNeedName);
    EXPECT_EQ(m_user.MessageBoxes()[0].caption, "Keyloft");
    EXPECT_EQ(m_user.MessageBoxes()[0].Icon(), static_cast<UINT>(MB_ICONSTOP));
    EXPECT_EQ(Rows(), Names{"  "});
}

TEST_F(AddTest, PasswordMustBeTypedTwiceBeforeTheDialogCloses) {
    // A mismatch keeps the dialog open on the password field; the second try matches.
    m_user.Dialog(IDD_NEW_ENTRY).Type(IDC_SYSTEM, "Mail").Type(IDC_PASSWORD, "Secret").Click(IDOK);
    m_user.Dialog(IDD_CONFIRM_PASSWORD).Type(IDC_CONFIRM, "secret").Click(IDOK);
    m_user.Answer(IDOK); // "The password confirmation does not match."
    m_user.Inspect([](CDialog& d) { EXPECT_EQ(FocusedId(d), IDC_PASSWORD); }).Click(IDOK);
    m_user.Dialog(IDD_CONFIRM_PASSWORD).Type(IDC_CONFIRM, "Secret").Click(IDOK);
    Command(ID_EDIT_ADD);
    ASSERT_EQ(m_pDoc->m_entryList.size(), 1u);
    EXPECT_EQ(m_pDoc->m_entryList.front()->m_strPassword, "Secret");

    // Cancelling the confirmation, then the dialog, adds nothing.
    m_pDoc->SetModifiedFlag(FALSE);
    m_user.Dialog(IDD_NEW_ENTRY).Type(IDC_SYSTEM, "Bank").Type(IDC_PASSWORD, "x").Click(IDOK);
    m_user.Dialog(IDD_CONFIRM_PASSWORD).Click(IDCANCEL);
    m_user.Click(IDCANCEL);
    Command(ID_EDIT_ADD);
    EXPECT_EQ(Rows(), Names{"Mail"});
    EXPECT_FALSE(m_pDoc->IsModified());
}

TEST_F(AddTest, ExactDuplicateNameBringsTheDialogBackAsTypedWhileAnotherCaseIsNew) {
    Fill({"mail", "Mail"});
    m_user.Dialog(IDD_NEW_ENTRY).Type(IDC_SYSTEM, "Mail").Type(IDC_USERNAME, "bob").Click(IDOK);
    m_user.Answer(IDOK);
    m_user.Dialog(IDD_NEW_ENTRY)
        .Inspect([](CDialog& d) {
            EXPECT_EQ(d.GetDlgItemText(IDC_SYSTEM), "Mail");
            EXPECT_EQ(d.GetDlgItemText(IDC_USERNAME), "bob");
        })
        .Type(IDC_SYSTEM, "MAIL")
        .Click(IDOK);
    Command(ID_EDIT_ADD);
    ASSERT_EQ(m_user.MessageBoxes().size(), 1u);
    EXPECT_EQ(m_user.MessageBoxes()[0].text, kDuplicate);
    EXPECT_EQ(m_user.MessageBoxes()[0].Icon(), static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_EQ(DocumentNames(), (Names{"mail", "Mail", "MAIL"}));
    EXPECT_EQ(m_pDoc->m_entryList.back()->m_strUserName, "bob");
}

// Among names the list sorts as one (the same letters in another case, the same text in older
// bytes) only the same bytes are a duplicate, wherever the name stands among them.
TEST_F(AddTest, OnlyTheSameBytesAreADuplicateAmongNamesThatSortAsOne) {
    Fill({"CAF\xC3\x89", "Caf\xE9", "caf\xC3\xA9"});
    // New; then taken twice (a name filled in before, then the one just added) and cancelled.
    const auto name = [this](const char* text) {
        m_user.Dialog(IDD_NEW_ENTRY)
            .Inspect([text](CDialog& d) { d.SetDlgItemText(IDC_SYSTEM, text); })
            .Click(IDOK);
    };
    name("Caf\xC3\xA9");
    name("caf\xC3\xA9");
    m_user.Answer(IDOK);
    name("Caf\xC3\xA9");
    m_user.Answer(IDOK).Dialog(IDD_NEW_ENTRY).Click(IDCANCEL);
    Command(ID_EDIT_ADD);
    Command(ID_EDIT_ADD);
    EXPECT_EQ(m_user.MessageBoxes().size(), 2u);
    EXPECT_EQ(DocumentNames(), (Names{"CAF\xC3\x89", "Caf\xE9", "caf\xC3\xA9", "Caf\xC3\xA9"}));
}

TEST_F(AddTest, AddingWithThreeMarkedRowsKeepsTheOtherTwoMarkedForTheNextDelete) {
    Fill({"a", "c", "e", "g"});
    ClickRow(0);
    ClickRow(2, Qt::ControlModifier);
    ClickRow(1, Qt::ControlModifier); // the caret row, marked
    ASSERT_EQ(Marked(), (std::vector<int>{0, 1, 2}));
    m_user.Dialog(IDD_NEW_ENTRY).Type(IDC_SYSTEM, "f").Click(IDOK);
    Command(ID_EDIT_ADD);
    EXPECT_EQ(Rows(), (Names{"a", "c", "e", "f", "g"}));
    EXPECT_EQ(Marked(), (std::vector<int>{0, 2, 3}));
    EXPECT_EQ(Caret(), 3);

    m_user.Answer(IDOK);
    Command(ID_EDIT_DELETE);
    ASSERT_EQ(m_user.MessageBoxes().size(), 1u);
    EXPECT_EQ(m_user.MessageBoxes()[0].text, "Delete all marked entries?");
    EXPECT_EQ(Rows(), (Names{"c", "g"}));
    EXPECT_EQ(DocumentNames(), (Names{"c", "g"}));
}

class DeleteTest : public ListTest {};

TEST_F(DeleteTest, OneEntryIsDeletedAfterItsOwnQuestion) {
    Fill({"Bank", "100% Mail", "Shop"});
    ClickRow(0); // "100% Mail" sorts first
    m_user.Answer(IDCANCEL);
    Command(ID_EDIT_DELETE);
    EXPECT_EQ(List().GetCount(), 3);
    EXPECT_FALSE(m_pDoc->IsModified());

    m_user.Answer(IDOK);
    Command(ID_EDIT_DELETE);
    ASSERT_EQ(m_user.MessageBoxes().size(), 2u);
    // The name is only text, even with a '%' in it.
    EXPECT_EQ(m_user.MessageBoxes()[1].text, "Delete the entry for 100% Mail?");
    EXPECT_EQ(m_user.MessageBoxes()[1].Buttons(), static_cast<UINT>(MB_OKCANCEL));
    EXPECT_EQ(m_user.MessageBoxes()[1].Icon(), static_cast<UINT>(MB_ICONEXCLAMATION));
    EXPECT_EQ(Rows(), (Names{"Bank", "Shop"}));
    EXPECT_EQ(DocumentNames(), (Names{"Bank", "Shop"}));
    EXPECT_TRUE(m_pDoc->IsModified());
}

TEST_F(DeleteTest, WithOneMarkedRowTheCaretRowsEntryGoes) {
    Fill({"a", "b", "c"});
    ClickRow(0);
    ClickRow(2, Qt::ControlModifier);
    ClickRow(2, Qt::ControlModifier); // caret on c, unmarked; only a is marked
    ASSERT_EQ(Marked(), std::vector<int>{0});
    m_user.Answer(IDOK);
    Command(ID_EDIT_DELETE);
    EXPECT_EQ(m_user.MessageBoxes()[0].text, "Delete the entry for c?");
    EXPECT_EQ(Rows(), (Names{"a", "b"}));
}

TEST_F(DeleteTest, AllMarkedRowsGoWithOneQuestionAndTheRestKeepTheirOrder) {
    Fill({"e", "a", "d", "b", "c"});
    ClickRow(0);
    ClickRow(1, Qt::ControlModifier);
    ClickRow(3, Qt::ControlModifier);
    m_user.Answer(IDCANCEL);
    Command(ID_EDIT_DELETE);
    EXPECT_EQ(List().GetCount(), 5);

    m_user.Answer(IDOK);
    Command(ID_EDIT_DELETE);
    EXPECT_EQ(Rows(), (Names{"c", "e"}));
    EXPECT_EQ(DocumentNames(), (Names{"e", "c"}));
    EXPECT_TRUE(Marked().empty());
    EXPECT_TRUE(m_pDoc->IsModified());

    // Every row marked: the list and the document end up empty.
    ClickRow(0);
    ClickRow(1, Qt::ShiftModifier);
    m_user.Answer(IDOK);
    Command(ID_EDIT_DELETE);
    EXPECT_EQ(m_user.MessageBoxes().size(), 3u);
    EXPECT_EQ(List().GetCount(), 0);
    EXPECT_TRUE(m_pDoc->m_entryList.empty());
}
