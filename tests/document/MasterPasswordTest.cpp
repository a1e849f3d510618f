// The master password's states and its three dialogs, driven by a scripted user.

#include "document/MasterPassword.h"

#include "document/ConfirmPasswordDlg.h"
#include "document/DialogProbe.h"
#include "support/scripted/ScriptedUser.h"

#include <gtest/gtest.h>

using klt::test::FieldText;
using klt::test::FocusedId;
using klt::test::IsEnabled;
using klt::testing::ScriptedUser;

namespace {

const char* const kIncorrect = "Original password incorrect.";
const char* const kMismatch = "The password confirmation does not match.";

CMasterPassword& SetTo(CMasterPassword& password, const std::string& text) {
    password.SetPassword(text);
    return password;
}

} // namespace

TEST(MasterPassword, CancelledChangeLeavesAnAbsentPasswordEmpty) {
    CMasterPassword password;
    ScriptedUser user;
    user.Dialog(IDD_MASTER_PASSWORD).Click(IDCANCEL);
    EXPECT_FALSE(password.ChangePassword());
    EXPECT_FALSE(password.IsAbsent());
    EXPECT_EQ(password.GetText(), "");
}

TEST(MasterPassword, EnterPasswordDialogTakesTheFileTitleAsCaption) {
    CMasterPassword password;
    ScriptedUser user;
    user.Dialog(IDD_PASSWORD)
        .Inspect([](CDialog& d) {
            // printf-style, but a '%' in the file name is only text
            EXPECT_EQ(d.GetWindowText(), "Enter the password for 100%s sure.klt.");
            EXPECT_EQ(FocusedId(d), IDC_PASSWORD);
            EXPECT_EQ(FieldText(d, IDC_PASSWORD), "");
        })
        .Type(IDC_PASSWORD, "Secret")
        .Click(IDOK);
    EXPECT_TRUE(password.AskPassword("100%s sure.klt"));
    EXPECT_EQ(password.GetText(), "Secret");

    // Without a name the plain prompt; Cancel changes nothing.
    user.Dialog(IDD_PASSWORD)
        .Inspect([](CDialog& d) { EXPECT_EQ(d.GetWindowText(), "Enter the password."); })
        .Type(IDC_PASSWORD, "other")
        .Click(IDCANCEL);
    EXPECT_FALSE(password.AskPassword());
    EXPECT_EQ(password.GetText(), "Secret");

    // An empty answer is an answer: the password becomes present and empty.
    password.Clear();
    user.Dialog(IDD_PASSWORD).Click(IDOK);
    EXPECT_TRUE(password.AskPassword("a.klt"));
    EXPECT_FALSE(password.IsAbsent());
    EXPECT_EQ(password.GetText(), "");
    EXPECT_TRUE(user.MessageBoxes().empty());
}

TEST(MasterPassword, NewDocumentTakesAConfirmedPasswordWithoutAnOriginal) {
    CMasterPassword password;
    ScriptedUser user;
    user.Dialog(IDD_MASTER_PASSWORD)
        .Inspect([](CDialog& d) {
            EXPECT_FALSE(IsEnabled(d, IDC_ORIGINAL_PASSWORD));
            EXPECT_EQ(FieldText(d, IDC_ORIGINAL_PASSWORD), "");
            EXPECT_EQ(FocusedId(d), IDC_NEW_PASSWORD);
        })
        .Type(IDC_NEW_PASSWORD, "Neu")
        .Click(IDOK);
    user.Dialog(IDD_CONFIRM_PASSWORD).Type(IDC_CONFIRM, "Neu").Click(IDOK);
    EXPECT_TRUE(password.ChangePassword());
    EXPECT_EQ(password.GetText(), "Neu");
    EXPECT_TRUE(user.MessageBoxes().empty());
}

TEST(MasterPassword, WrongOriginalAsksRetryWhichClearsBothFields) {
    CMasterPassword password;
    SetTo(password, "Secret");
    ScriptedUser user;
    user.Dialog(IDD_MASTER_PASSWORD)
        .Inspect([](CDialog& d) {
            EXPECT_TRUE(IsEnabled(d, IDC_ORIGINAL_PASSWORD));
            EXPECT_EQ(FieldText(d, IDC_ORIGINAL_PASSWORD), ""); // the current password is never shown
            EXPECT_EQ(FocusedId(d), IDC_ORIGINAL_PASSWORD);
        })
        .Type(IDC_ORIGINAL_PASSWORD, "secret") // letter case matters
        .Type(IDC_NEW_PASSWORD, "x")
        .Click(IDOK);
    user.Dialog(IDD_CONFIRM_PASSWORD).Type(IDC_CONFIRM, "x").Click(IDOK);
    user.Answer(IDRETRY);
    user.Inspect([](CDialog& d) {
            EXPECT_EQ(FieldText(d, IDC_ORIGINAL_PASSWORD), "");
            EXPECT_EQ(FieldText(d, IDC_NEW_PASSWORD), "");
            EXPECT_EQ(FocusedId(d), IDC_ORIGINAL_PASSWORD); // the user starts over where the mistake was
        })
        .Type(IDC_ORIGINAL_PASSWORD, "Secret")
        .Type(IDC_NEW_PASSWORD, "y")
        .Click(IDOK);
    user.Dialog(IDD_CONFIRM_PASSWORD).Type(IDC_CONFIRM, "y").Click(IDOK);

    EXPECT_TRUE(password.ChangePassword());
    EXPECT_EQ(password.GetText(), "y");
    ASSERT_EQ(user.MessageBoxes().size(), 1u);
    EXPECT_EQ(user.MessageBoxes()[0].text, kIncorrect);
    EXPECT_EQ(user.MessageBoxes()[0].caption, "Keyloft");
    EXPECT_EQ(user.MessageBoxes()[0].Buttons(), MB_RETRYCANCEL);
    EXPECT_EQ(user.MessageBoxes()[0].Icon(), 0u);
}

TEST(MasterPassword, CancelAfterAWrongOriginalKeepsThePassword) {
    CMasterPassword password;
    SetTo(password, "Secret");
    ScriptedUser user;
    // An empty new password needs no confirmation, so the original is checked at once.
    user.Dialog(IDD_MASTER_PASSWORD).Type(IDC_ORIGINAL_PASSWORD, "Secret ").Click(IDOK);
    user.Answer(IDCANCEL);
    EXPECT_FALSE(password.ChangePassword());
    EXPECT_EQ(password.GetText(), "Secret");
    EXPECT_EQ(user.Dialogs(), std::vector<UINT>{IDD_MASTER_PASSWORD});
}

TEST(MasterPassword, EmptyNewPasswordRemovesTheProtectionWithoutConfirmation) {
    CMasterPassword password;
    SetTo(password, "Secret");
    ScriptedUser user;
    user.Dialog(IDD_MASTER_PASSWORD).Type(IDC_ORIGINAL_PASSWORD, "Secret").Click(IDOK);
    EXPECT_TRUE(password.ChangePassword());
    EXPECT_FALSE(password.IsAbsent());
    EXPECT_EQ(password.GetText(), "");
    EXPECT_EQ(user.Dialogs(), std::vector<UINT>{IDD_MASTER_PASSWORD});
    EXPECT_TRUE(user.MessageBoxes().empty());
}

TEST(MasterPassword, FailedConfirmationReturnsWithBothTextsBeforeTheOriginalIsChecked) {
    CMasterPassword password;
    SetTo(password, "Secret");
    ScriptedUser user;
    user.Dialog(IDD_MASTER_PASSWORD)
        .Type(IDC_ORIGINAL_PASSWORD, "wrong")
        .Type(IDC_NEW_PASSWORD, "abc")
        .Click(IDOK);
    user.Dialog(IDD_CONFIRM_PASSWORD).Type(IDC_CONFIRM, "abC").Click(IDOK);
    user.Answer(IDOK);
    user.Inspect([](CDialog& d) {
            EXPECT_EQ(FieldText(d, IDC_ORIGINAL_PASSWORD), "wrong");
            EXPECT_EQ(FieldText(d, IDC_NEW_PASSWORD), "abc");
            EXPECT_EQ(FocusedId(d), IDC_NEW_PASSWORD);
        })
        .Click(IDOK);
    // Cancel in the confirmation: no message, the same dialog again.
    user.Dialog(IDD_CONFIRM_PASSWORD).Type(IDC_CONFIRM, "abc").Click(IDCANCEL);
    user.Inspect([](CDialog& d) { EXPECT_EQ(FieldText(d, IDC_NEW_PASSWORD), "abc"); }).Click(IDCANCEL);

    EXPECT_FALSE(password.ChangePassword());
    EXPECT_EQ(password.GetText(), "Secret");
    ASSERT_EQ(user.MessageBoxes().size(), 1u);
    EXPECT_EQ(user.MessageBoxes()[0].text, kMismatch);
    EXPECT_EQ(user.MessageBoxes()[0].Icon(), MB_ICONSTOP);
}

TEST(MasterPassword, NewPasswordAbove255BytesIsRefusedAndNeverSet) {
    CMasterPassword password;
    SetTo(password, "");
    std::string tooLong; // 128 characters, but 256 bytes
    for (int i = 0; i < 128; ++i) {
        tooLong += "\xC3\xA9";
    }
    const std::string longest(255, 'b');
    ScriptedUser user;
    // The scripted keyboard types ASCII only; the text stands in the field as if pasted.
    user.Dialog(IDD_MASTER_PASSWORD)
        .Inspect([&](CDialog& d) { d.SetDlgItemText(IDC_NEW_PASSWORD, tooLong); })
        .Click(IDOK);
    user.Answer(IDOK);
    user.Inspect([&](CDialog& d) {
            EXPECT_EQ(FieldText(d, IDC_NEW_PASSWORD), tooLong);
            EXPECT_EQ(FocusedId(d), IDC_NEW_PASSWORD);
        })
        .Type(IDC_NEW_PASSWORD, longest)
        .Click(IDOK);
    user.Dialog(IDD_CONFIRM_PASSWORD).Type(IDC_CONFIRM, longest).Click(IDOK);

    EXPECT_TRUE(password.ChangePassword());
    EXPECT_EQ(password.GetText(), longest);
    // The refusal came before any confirmation was asked for.
    EXPECT_EQ(user.Dialogs(), (std::vector<UINT>{IDD_MASTER_PASSWORD, IDD_CONFIRM_PASSWORD}));
    ASSERT_EQ(user.MessageBoxes().size(), 1u);
    EXPECT_NE(user.MessageBoxes()[0].text.find("255"), std::string::npos);
    EXPECT_EQ(user.MessageBoxes()[0].Icon(), MB_ICONSTOP);
}

TEST(ConfirmPasswordDlg, ComparesByteForByteAndReportsAMismatchAsCancel) {
    ScriptedUser user;
    {
        CConfirmPasswordDlg dlg("Pass word");
        user.Dialog(IDD_CONFIRM_PASSWORD).Type(IDC_CONFIRM, "Pass word").Click(IDOK);
        EXPECT_EQ(dlg.DoModal(), IDOK);
    }
    {
        CConfirmPasswordDlg dlg("Pass word");
        user.Dialog(IDD_CONFIRM_PASSWORD).Type(IDC_CONFIRM, "pass word").Enter();
        user.Answer(IDOK);
        EXPECT_EQ(dlg.DoModal(), IDCANCEL);
        EXPECT_EQ(dlg.m_strConfirm, "pass word");
    }
    ASSERT_EQ(user.MessageBoxes().size(), 1u);
    EXPECT_EQ(user.MessageBoxes()[0].text, kMismatch);
}
