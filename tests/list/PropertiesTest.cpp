// Editing the current entry in the Properties dialog: the days since the last change, the new time
// stamp after an edit, Reveal/Hide, the confirmation of a masked password, the duplicate-name rule
// and the row's new place.

#include "list/ListFixture.h"
#include "list/PropertiesDlg.h"

#include <QLineEdit>
#include <QListView>
#include <algorithm>
#include <ctime>

namespace {

using Names = std::vector<std::string>;

constexpr int32_t kDay = 86400;

int32_t Now() {
    return static_cast<int32_t>(std::time(nullptr));
}

char MaskOf(const CDialog& dialog) {
    const auto* pEdit = dynamic_cast<const CEdit*>(dialog.GetDlgItem(IDC_PASSWORD));
    EXPECT_NE(pEdit, nullptr);
    return pEdit != nullptr ? pEdit->GetPasswordChar() : '?';
}

} // namespace

class PropertiesTest : public ListTest {
protected:
    // One entry, marked as the current one.
    QMPassword* Current(const std::string& system, int32_t time, const std::string& password = "pw") {
        QMPassword* pEntry = AddEntry(system, "ann", password, time);
        pEntry->m_strFourth = "fourth";
        Rebuild();
        ClickRow(m_pView->FindEntryIndex(pEntry));
        return pEntry;
    }
};

TEST(PropertiesDays, WholeDaysTruncatedTowardZero) {
    const std::int64_t now = 1000000000;
    EXPECT_EQ(CPropertiesDlg::DaysSince(static_cast<int32_t>(now - 10 * kDay - 3600), now), 10);
    EXPECT_EQ(CPropertiesDlg::DaysSince(static_cast<int32_t>(now - kDay + 1), now), 0);
    EXPECT_EQ(CPropertiesDlg::DaysSince(static_cast<int32_t>(now + 12 * 3600), now), 0);
    EXPECT_EQ(CPropertiesDlg::DaysSince(static_cast<int32_t>(now + 36 * 3600), now), -1);
    // Times from the far end of the 32-bit range do not overflow.
    EXPECT_EQ(CPropertiesDlg::DaysSince(INT32_MIN, now), (now - INT32_MIN) / kDay);
}

TEST_F(PropertiesTest, OkWithoutChangesKeepsTheEntryButSetsTheModifiedFlag) {
    const int32_t time = Now() - 10 * kDay - 3600;
    QMPassword* pEntry = Current("Caf\xe9", time); // Windows-1252 bytes
    m_user.Dialog(IDD_PROPERTIES)
        .Inspect([](CDialog& d) {
            EXPECT_EQ(d.GetWindowText(), "Properties");
            EXPECT_EQ(FocusedId(d), IDOK);
            EXPECT_EQ(d.GetDlgItemText(IDC_SYSTEM), "Caf\xe9");
            EXPECT_EQ(d.GetDlgItemText(IDC_USERNAME), "ann");
            EXPECT_EQ(d.GetDlgItemText(IDC_DAYS), "10");
            EXPECT_FALSE(d.GetDlgItem(IDC_DAYS)->IsWindowEnabled());
            EXPECT_EQ(MaskOf(d), '*');
            EXPECT_EQ(d.GetDlgItemText(IDC_REVEAL), "&Reveal");
            d.GotoDlgCtrl(
                d.GetDlgItem(IDC_USERNAME)); // filled fields show their beginning, the focused one too
            for (const int nID : {IDC_SYSTEM, IDC_USERNAME, IDC_PASSWORD}) {
                EXPECT_EQ(qobject_cast<QLineEdit*>(d.GetDlgItem(nID)->GetWidget())->cursorPosition(), 0)
                    << nID;
            }
        })
        .Click(IDOK);
    Command(ID_EDIT_PROPERTIES);
    EXPECT_EQ(pEntry->m_strSystem, "Caf\xe9");
    EXPECT_EQ(pEntry->m_strPassword, "pw");
    EXPECT_EQ(pEntry->m_strFourth, "fourth");
    EXPECT_EQ(pEntry->m_timeLastChange, time);
    EXPECT_TRUE(m_pDoc->IsModified());
}

TEST_F(PropertiesTest, LeavingAnEditedFieldStampsTheTimeWhichOnlyOkStores) {
    const int32_t time = Now() - 30 * kDay;
    QMPassword* pEntry = Current("Mail", time);
    // Cancel after the stamp stores nothing.
    m_user.Dialog(IDD_PROPERTIES)
        .Type(IDC_USERNAME, "bob")
        .Focus(IDC_SYSTEM)
        .Inspect([](CDialog& d) { EXPECT_EQ(d.GetDlgItemText(IDC_DAYS), "0"); })
        .Click(IDCANCEL);
    Command(ID_EDIT_PROPERTIES);
    EXPECT_EQ(pEntry->m_strUserName, "ann");
    EXPECT_EQ(pEntry->m_timeLastChange, time);
    EXPECT_FALSE(m_pDoc->IsModified());

    // Changing the system name alone keeps the time.
    m_user.Dialog(IDD_PROPERTIES).Type(IDC_SYSTEM, "Post").Focus(IDC_USERNAME).Click(IDOK);
    Command(ID_EDIT_PROPERTIES);
    EXPECT_EQ(pEntry->m_strSystem, "Post");
    EXPECT_EQ(pEntry->m_timeLastChange, time);

    // An edit confirmed with Enter while its field still has the focus is stamped as well.
    const int32_t before = Now();
    m_user.Dialog(IDD_PROPERTIES).Type(IDC_USERNAME, "bob").Key(Qt::Key_Return);
    Command(ID_EDIT_PROPERTIES);
    EXPECT_EQ(pEntry->m_strUserName, "bob");
    EXPECT_GE(pEntry->m_timeLastChange, before);
    EXPECT_LE(pEntry->m_timeLastChange, Now());
}

TEST_F(PropertiesTest, RevealShowsThePasswordAndAnEditSeenInPlainTextNeedsNoConfirmation) {
    QMPassword* pEntry = Current("Mail", Now() - 5 * kDay, "old");
    m_user.Dialog(IDD_PROPERTIES)
        .Click(IDC_REVEAL)
        .Inspect([](CDialog& d) {
            EXPECT_EQ(MaskOf(d), 0);
            EXPECT_EQ(d.GetDlgItemText(IDC_REVEAL), "&Hide");
            EXPECT_EQ(FocusedId(d), IDC_REVEAL);
        })
        .Type(IDC_PASSWORD, "new")
        .Click(IDOK);
    Command(ID_EDIT_PROPERTIES);
    EXPECT_EQ(pEntry->m_strPassword, "new");
    EXPECT_EQ(m_user.Dialogs(), std::vector<UINT>{IDD_PROPERTIES});

    // Masked again (each opening starts masked), the same kind of edit must be confirmed; a failed
    // confirmation keeps the dialog open on the password field.
    m_user.Dialog(IDD_PROPERTIES)
        .Inspect([](CDialog& d) { EXPECT_EQ(d.GetDlgItemText(IDC_REVEAL), "&Reveal"); })
        .Click(IDC_REVEAL)
        .Click(IDC_REVEAL)
        .Inspect([](CDialog& d) {
            EXPECT_EQ(MaskOf(d), '*');
            EXPECT_EQ(d.GetDlgItemText(IDC_REVEAL), "&Reveal");
        })
        .Type(IDC_PASSWORD, "newer")
        .Click(IDOK);
    m_user.Dialog(IDD_CONFIRM_PASSWORD).Click(IDCANCEL);
    m_user.Inspect([](CDialog& d) { EXPECT_EQ(FocusedId(d), IDC_PASSWORD); }).Click(IDOK);
    m_user.Dialog(IDD_CONFIRM_PASSWORD).Type(IDC_CONFIRM, "newer").Click(IDOK);
    Command(ID_EDIT_PROPERTIES);
    EXPECT_EQ(pEntry->m_strPassword, "newer");

    // An emptied password needs no confirmation either.
    m_user.Dialog(IDD_PROPERTIES).Type(IDC_PASSWORD, "").Click(IDOK);
    Command(ID_EDIT_PROPERTIES);
    EXPECT_EQ(pEntry->m_strPassword, "");
}

TEST_F(PropertiesTest, RenamedEntryMovesToItsSortedPlaceAndStaysCurrent) {
    AddEntry("b");
    AddEntry("d");
    QMPassword* pEntry = Current("a", 0);
    ClickRow(2, Qt::ControlModifier); // other marks go with the rebuild
    ClickRow(0, Qt::ControlModifier);
    ClickRow(0, Qt::ControlModifier);
    m_user.Dialog(IDD_PROPERTIES).Type(IDC_SYSTEM, "c").Click(IDOK);
    Command(ID_EDIT_PROPERTIES);
    EXPECT_EQ(Rows(), (Names{"b", "c", "d"}));
    EXPECT_EQ(Marked(), std::vector<int>{1});
    EXPECT_EQ(m_pView->GetCurrentEntry(), pEntry);
    EXPECT_EQ(ListWidget()->window()->focusWidget(), ListWidget());
}

TEST_F(PropertiesTest, ARenamedEntryInALongListMovesAloneAndEveryRowKeepsItsEntry) {
    for (int i = 1000; i < 4000; ++i) {
        AddEntry("entry " + std::to_string(i));
    }
    QMPassword* pEntry = Current("a first", 0);
    m_user.Dialog(IDD_PROPERTIES).Type(IDC_SYSTEM, "entry 2500x").Click(IDOK);
    Command(ID_EDIT_PROPERTIES);
    ASSERT_EQ(List().GetCount(), 3001);
    EXPECT_EQ(RowOf("entry 2500x"), 1501);
    EXPECT_EQ(Marked(), std::vector<int>{1501});
    EXPECT_EQ(m_pView->GetCurrentEntry(), pEntry);
    const Names rows = Rows();
    EXPECT_TRUE(std::is_sorted(rows.begin(), rows.end()));
    for (int i = 0; i < List().GetCount(); ++i) {
        EXPECT_EQ(static_cast<QMPassword*>(List().GetItemDataPtr(i))->m_strSystem,
                  rows[static_cast<size_t>(i)]);
    }
}

TEST_F(PropertiesTest, ADuplicateNameBringsTheDialogBackWithTheEditsAndTheStamp) {
    AddEntry("Bank");
    const int32_t time = Now() - 3 * kDay;
    QMPassword* pEntry = Current("Mail", time);
    m_user.Dialog(IDD_PROPERTIES).Type(IDC_SYSTEM, "Bank").Type(IDC_USERNAME, "bob").Click(IDOK);
    m_user.Answer(IDOK);
    m_user.Dialog(IDD_PROPERTIES)
        .Inspect([](CDialog& d) {
            EXPECT_EQ(d.GetDlgItemText(IDC_SYSTEM), "Bank");
            EXPECT_EQ(d.GetDlgItemText(IDC_USERNAME), "bob");
            EXPECT_EQ(d.GetDlgItemText(IDC_DAYS), "0");
        })
        .Type(IDC_SYSTEM, "bank") // differs in case only: another name
        .Click(IDOK);
    Command(ID_EDIT_PROPERTIES);
    EXPECT_EQ(m_user.MessageBoxes()[0].text,
              "This system name has already been defined.  Please enter a unique system name.");
    EXPECT_EQ(pEntry->m_strSystem, "bank");
    EXPECT_EQ(pEntry->m_strUserName, "bob");
    EXPECT_GT(pEntry->m_timeLastChange, time);

    // Keeping its own name is no duplicate.
    m_user.Dialog(IDD_PROPERTIES).Click(IDOK);
    Command(ID_EDIT_PROPERTIES);
    EXPECT_EQ(m_user.MessageBoxes().size(), 1u);
}

TEST_F(PropertiesTest, EntryReplacedWhileTheDialogIsOpenIsLeftAlone) {
    Current("Mail", 0);
    // Another command, run while the dialog waits, refills the document (as opening another file does).
    m_user.Dialog(IDD_PROPERTIES)
        .Type(IDC_SYSTEM, "Changed")
        .Inspect([this](CDialog&) {
            m_pDoc->DeleteContents();
            AddEntry("Other");
            Rebuild();
        })
        .Click(IDOK);
    Command(ID_EDIT_PROPERTIES);
    EXPECT_EQ(DocumentNames(), Names{"Other"});
    EXPECT_EQ(Rows(), Names{"Other"});
}

TEST_F(PropertiesTest, FilePasswordChangesTheMasterPasswordAndMarksTheDocument) {
    m_user.Dialog(IDD_MASTER_PASSWORD).Click(IDCANCEL);
    Command(ID_FILE_PASSWORD);
    EXPECT_FALSE(m_pDoc->IsModified());

    m_user.Dialog(IDD_MASTER_PASSWORD).Type(IDC_NEW_PASSWORD, "Master").Click(IDOK);
    m_user.Dialog(IDD_CONFIRM_PASSWORD).Type(IDC_CONFIRM, "Master").Click(IDOK);
    Command(ID_FILE_PASSWORD);
    EXPECT_EQ(m_pDoc->m_masterPassword.GetText(), "Master");
    EXPECT_TRUE(m_pDoc->IsModified());
}
