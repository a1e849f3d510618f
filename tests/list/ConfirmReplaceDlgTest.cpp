// The Confirm Replace dialog on its own: what it shows, in which form, and its Reveal button.

#include "list/ConfirmReplaceDlg.h"

#include "framework/ControlWidgets.h"
#include "support/scripted/ScriptedUser.h"

#include <QDialog>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <ctime>
#include <gtest/gtest.h>

using klt::testing::ScriptedUser;

namespace {

int32_t LocalTime(int year, int month, int day, int hour, int minute) {
    std::tm local{};
    local.tm_year = year - 1900;
    local.tm_mon = month - 1;
    local.tm_mday = day;
    local.tm_hour = hour;
    local.tm_min = minute;
    local.tm_isdst = -1;
    return static_cast<int32_t>(std::mktime(&local));
}

QLineEdit* Edit(CDialog& dialog, int nID) {
    return qobject_cast<QLineEdit*>(klt::FindControl(dialog.GetDialogWidget(), nID));
}

QPushButton* Button(CDialog& dialog, int nID) {
    return qobject_cast<QPushButton*>(klt::FindControl(dialog.GetDialogWidget(), nID));
}

class ConfirmReplaceDlgTest : public ::testing::Test {
protected:
    void SetUp() override { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void TearDown() override { QLocale::setDefault(m_savedLocale); }

    QLocale m_savedLocale;
};

} // namespace

TEST_F(ConfirmReplaceDlgTest, LastModifiedIsTheLocalShortDate) {
    EXPECT_EQ(CConfirmReplaceDlg::LastModifiedText(LocalTime(1998, 3, 9, 12, 0)), "3/9/98");
    // The local calendar day, up to its last minute.
    EXPECT_EQ(CConfirmReplaceDlg::LastModifiedText(LocalTime(2037, 11, 25, 23, 59)), "11/25/37");
    EXPECT_EQ(CConfirmReplaceDlg::LastModifiedText(LocalTime(2001, 1, 1, 0, 0)), "1/1/01");
    // The user's own short form elsewhere.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(CConfirmReplaceDlg::LastModifiedText(LocalTime(1998, 3, 9, 12, 0)), "09.03.98");
}

TEST_F(ConfirmReplaceDlgTest, ShowsBothSidesReadOnlyWithYesFocused) {
    CConfirmReplaceDlg dlg;
    dlg.m_strCurSystem = "Bank";
    dlg.m_strCurUserName = "M\xfcller"; // Windows-1252, as older files hold it
    dlg.m_strCurPassword = "current";
    dlg.m_timeCurLastChange = LocalTime(1998, 3, 9, 12, 0);
    dlg.m_strWithSystem = "Bank";
    dlg.m_strWithUserName = "mueller";
    dlg.m_strWithPassword = "incoming";
    dlg.m_timeWithLastChange = LocalTime(2004, 12, 31, 8, 0);

    ScriptedUser user;
    user.Dialog(IDD_CONFIRM_REPLACE).Inspect([](CDialog& dialog) {
        EXPECT_EQ(dialog.GetDialogWidget()->windowTitle(), "Confirm Replace");
        EXPECT_EQ(dialog.GetDialogWidget()->focusWidget(), Button(dialog, IDOK));
        EXPECT_EQ(Button(dialog, IDOK)->text(), "Yes");
        EXPECT_EQ(Button(dialog, IDCANCEL)->text(), "No");

        const std::pair<int, const char*> fields[] = {
            {IDC_CUR_SYSTEM, "Bank"},         {IDC_CUR_USERNAME, "M\u00fcller"},
            {IDC_CUR_PASSWORD, "current"},    {IDC_WITH_SYSTEM, "Bank"},
            {IDC_WITH_USERNAME, "mueller"},   {IDC_WITH_PASSWORD, "incoming"},
            {IDC_CUR_LASTMODIFIED, "3/9/98"}, {IDC_WITH_LASTMODIFIED, "12/31/04"},
        };
        for (const auto& [nID, text] : fields) {
            QLineEdit* pEdit = Edit(dialog, nID);
            ASSERT_NE(pEdit, nullptr) << nID;
            EXPECT_EQ(pEdit->text(), QString::fromUtf8(text)) << nID;
            EXPECT_EQ(pEdit->cursorPosition(), 0) << nID; // a long value shows its beginning
            // Nothing here can be edited; the dates are for display only.
            const bool bDate = nID == IDC_CUR_LASTMODIFIED || nID == IDC_WITH_LASTMODIFIED;
            EXPECT_TRUE(bDate ? !pEdit->isEnabled() : pEdit->isReadOnly()) << nID;
        }
        EXPECT_EQ(Edit(dialog, IDC_CUR_PASSWORD)->echoMode(), QLineEdit::Password);
        EXPECT_EQ(Edit(dialog, IDC_WITH_PASSWORD)->echoMode(), QLineEdit::Password);
        EXPECT_EQ(Button(dialog, IDC_REVEAL)->text(), "&Reveal");
    });
    user.Click(IDOK);
    EXPECT_EQ(dlg.DoModal(), IDOK);
    // Shown and confirmed without an edit: the bytes come back as they were.
    EXPECT_EQ(dlg.m_strCurUserName, "M\xfcller");
    EXPECT_EQ(dlg.m_strWithPassword, "incoming");
}

TEST_F(ConfirmReplaceDlgTest, RevealShowsAndHidesBothPasswordsTogether) {
    CConfirmReplaceDlg dlg;
    dlg.m_strCurPassword = "current";
    dlg.m_strWithPassword = "incoming";

    const auto expectShown = [](bool bShown) {
        return [bShown](CDialog& dialog) {
            const QLineEdit::EchoMode mode = bShown ? QLineEdit::Normal : QLineEdit::Password;
            EXPECT_EQ(Edit(dialog, IDC_CUR_PASSWORD)->echoMode(), mode);
            EXPECT_EQ(Edit(dialog, IDC_WITH_PASSWORD)->echoMode(), mode);
            EXPECT_EQ(Button(dialog, IDC_REVEAL)->text(), bShown ? "&Hide" : "&Reveal");
        };
    };
    ScriptedUser user;
    user.Dialog(IDD_CONFIRM_REPLACE).Inspect(expectShown(false));
    user.Click(IDC_REVEAL).Inspect(expectShown(true));
    user.Click(IDC_REVEAL).Inspect(expectShown(false));
    user.Click(IDC_REVEAL).Inspect(expectShown(true));
    user.Click(IDCANCEL);
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);

    // Each opening starts masked again.
    user.Dialog(IDD_CONFIRM_REPLACE).Inspect(expectShown(false)).Escape();
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
}
