// Message boxes by string number with the icon rules, and printf-style formatting of the texts.

#include "framework/Framework.h"
#include "support/scripted/ScriptedUser.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

using klt::testing::ScriptedUser;

TEST(MessageBox, RequestsWithoutAnIconGetTheExclamationExceptRetryCancel) {
    CWinApp app;
    ScriptedUser user;
    user.Answer(IDOK).Answer(IDCANCEL).Answer(IDYES).Answer(IDRETRY).Answer(IDOK).Answer(IDOK);
    EXPECT_EQ(AfxMessageBox(IDS_MERGE_COMPLETE), IDOK);
    EXPECT_EQ(AfxMessageBox(IDS_DELETE_MARKED, MB_OKCANCEL), IDCANCEL);
    EXPECT_EQ(AfxMessageBox("Save?", MB_YESNOCANCEL), IDYES);
    EXPECT_EQ(AfxMessageBox(IDS_ORIGINAL_INCORRECT, MB_RETRYCANCEL), IDRETRY);
    EXPECT_EQ(AfxMessageBox(IDS_INVALID_PASSWORD, MB_ICONSTOP), IDOK);
    EXPECT_EQ(AfxMessageBox(IDS_SWITCHES, MB_ICONINFORMATION), IDOK);
    const auto& boxes = user.MessageBoxes();
    ASSERT_EQ(boxes.size(), 6u);
    EXPECT_EQ(boxes[0].text, "Merge complete.");
    EXPECT_EQ(boxes[0].caption, "Keyloft");
    EXPECT_EQ(boxes[0].Icon(), MB_ICONEXCLAMATION);
    EXPECT_EQ(boxes[1].Icon(), MB_ICONEXCLAMATION);
    EXPECT_EQ(boxes[1].Buttons(), MB_OKCANCEL);
    EXPECT_EQ(boxes[2].Icon(), MB_ICONEXCLAMATION);
    EXPECT_EQ(boxes[3].Icon(), 0u);
    EXPECT_EQ(boxes[3].Buttons(), MB_RETRYCANCEL);
    EXPECT_EQ(boxes[4].Icon(), MB_ICONSTOP);
    EXPECT_EQ(boxes[5].Icon(), MB_ICONINFORMATION);
    // A box asked for exactly keeps what it was asked for.
    user.Answer(IDOK);
    klt::ShowMessageBox(klt::LoadString(IDS_ABORT_SETUP_ERROR), "Keyloft", MB_OK);
    EXPECT_EQ(user.MessageBoxes().back().Icon(), 0u);
}

TEST(MessageBox, AnswerTheBoxDoesNotOfferFailsAndTheCautiousButtonIsTaken) {
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedUser user;
            user.Answer(IDYES);
            EXPECT_EQ(AfxMessageBox("Delete?", MB_OKCANCEL), IDCANCEL);
        },
        "not the scripted answer");
}

TEST(FormatString, FillsStringTableTextsPrintfStyle) {
    EXPECT_EQ(klt::FormatString(IDS_DELETE_ENTRY, std::string("Mail")), "Delete the entry for Mail?");
    EXPECT_EQ(klt::FormatString(IDS_ENTER_PASSWORD_FOR, "a.klt"), "Enter the password for a.klt.");
    EXPECT_EQ(klt::FormatString(IDS_PRODUCT_LINE, std::string("Keyloft"), "Unen"),
              "Keyloft, Unencrypted Edition");
    EXPECT_EQ(klt::Format("%ld", -1L), "-1");
    EXPECT_EQ(klt::Format("100% sure"), "100% sure"); // a text without arguments stands as it is
    std::string prompt;
    AfxFormatString1(prompt, AFX_IDP_ASK_TO_SAVE, "%1 and 100%");
    EXPECT_EQ(prompt, "Save changes to %1 and 100%?");
    EXPECT_EQ(klt::CommandPrompt(ID_EDIT_DELETE), "Delete an entry");
    EXPECT_EQ(klt::CommandToolTip(ID_EDIT_DELETE), "Delete");
    EXPECT_EQ(klt::CommandToolTip(ID_TRAY_PASTE), "");
}
