// File Merge through the scripted user: the document's rows and changed flag as entries come over,
// the Confirm Replace question, refused files, and what the merge leaves alone. The rule itself is the
// store's (tests/store/EntryMergeTest.cpp).

#include "framework/ControlWidgets.h"
#include "list/ConfirmReplaceDlg.h"
#include "list/MergeFixture.h"

#include <QDialog>
#include <QLineEdit>
#include <fstream>
#include <functional>

using klt::testing::ScriptedUser;

namespace {

constexpr int32_t kTime = 900000000; // July 1998
constexpr int32_t kDay = 86400;

std::string FieldText(CDialog& dialog, int nID) {
    const auto* pEdit = qobject_cast<const QLineEdit*>(klt::FindControl(dialog.GetDialogWidget(), nID));
    return pEdit != nullptr ? pEdit->text().toStdString() : std::string("<no field>");
}

} // namespace

class MergeTest : public MergeFixture {
protected:
    void OpenCurrent(const std::vector<EntrySpec>& entries) {
        m_strCurrentPath = WriteFile("current.klt", entries);
        MergeFixture::OpenCurrent(m_strCurrentPath);
    }

    std::string m_strCurrentPath;
};

TEST_F(MergeTest, CancelledFileDialogChangesNothing) {
    OpenCurrent({{"alpha", "a", "1", kTime}, {"beta", "b", "2", kTime}});
    m_pView->m_listBox.SetSel(1, TRUE);
    ScriptedUser user;
    user.CancelFileDialog();
    Merge();

    ASSERT_EQ(user.FileDialogs().size(), 1u);
    const klt::FileDialogRequest& request = user.FileDialogs()[0];
    EXPECT_TRUE(request.bOpen);
    EXPECT_EQ(request.initialPath, "");
    EXPECT_EQ(request.qtFilter, "Keyloft Files (*.klt *.kltx);;All Files (*)");
    EXPECT_EQ(request.defaultSuffix, "klt");
    EXPECT_EQ(request.flags, 0x1006u); // hide read-only, overwrite prompt, file must exist
    EXPECT_EQ(request.pOwner, m_pView);
    EXPECT_TRUE(user.MessageBoxes().empty());
    EXPECT_EQ(MarkedRows(), std::vector<int>{1});
    EXPECT_FALSE(m_pDoc->IsModified());
}

TEST_F(MergeTest, SameEntriesAndTimesChangeNothingButTheMarks) {
    const std::vector<EntrySpec> entries = {{"alpha", "a", "1", kTime}, {"beta", "b", "2", kTime + 5}};
    OpenCurrent(entries);
    m_pView->m_listBox.SetSel(0, TRUE);
    m_pView->m_listBox.SetSel(1, TRUE);
    const std::string other = WriteFile("other.klt", entries);

    ScriptedUser user;
    user.ChooseFile(other).Answer(IDOK);
    Merge();

    ExpectMergeComplete(user);
    EXPECT_EQ(user.MessageBoxes().size(), 1u);
    EXPECT_TRUE(user.Dialogs().empty());
    EXPECT_EQ(Entries(), entries);
    EXPECT_FALSE(m_pDoc->IsModified());
    EXPECT_TRUE(MarkedRows().empty());
}

TEST_F(MergeTest, DifferingTimesSetTheFlagEitherWayAndKeepTheLaterTime) {
    OpenCurrent({{"alpha", "a", "1", kTime}, {"beta", "b", "2", kTime}});

    // The incoming time is the later one: the entry takes it.
    ScriptedUser user;
    user.ChooseFile(WriteFile("later.klt", {{"alpha", "a", "1", kTime + 100}})).Answer(IDOK);
    Merge();
    EXPECT_TRUE(m_pDoc->IsModified());
    EXPECT_EQ(Entries()[0].time, kTime + 100);

    // The current time is the later one: the entry keeps it, yet the document counts as changed.
    m_pDoc->SetModifiedFlag(FALSE);
    user.ChooseFile(WriteFile("earlier.klt", {{"beta", "b", "2", kTime - 100}})).Answer(IDOK);
    Merge();
    EXPECT_TRUE(m_pDoc->IsModified());
    EXPECT_EQ(Entries()[1].time, kTime);

    // Times are signed: one before 1970 is earlier than any after it.
    m_pDoc->SetModifiedFlag(FALSE);
    user.ChooseFile(WriteFile("old.klt", {{"beta", "b", "2", -kDay}})).Answer(IDOK);
    Merge();
    EXPECT_TRUE(m_pDoc->IsModified());
    EXPECT_EQ(Entries()[1].time, kTime);
    EXPECT_TRUE(user.Dialogs().empty());
}

TEST_F(MergeTest, NewEntriesFollowTheOtherFilesOrderAndAreSavedAfterTheExistingOnes) {
    OpenCurrent({{"m", "um", "pm", kTime}, {"b", "ub", "pb", kTime}});
    m_pDoc->m_entryList.front()->m_strFourth = "kept";
    m_pView->m_listBox.SetSel(0, TRUE);
    const std::string other = WriteFile("other.klt", {{"z", "uz", "pz", kTime - 1},
                                                      {"a", "ua", "pa", kTime - 2},
                                                      {"b", "ub", "pb", kTime},
                                                      {"k", "uk", "pk", kTime - 3}});
    ScriptedUser user;
    user.ChooseFile(other).Answer(IDOK);
    Merge();

    const std::vector<EntrySpec> merged = {{"m", "um", "pm", kTime},
                                           {"b", "ub", "pb", kTime},
                                           {"z", "uz", "pz", kTime - 1},
                                           {"a", "ua", "pa", kTime - 2},
                                           {"k", "uk", "pk", kTime - 3}};
    EXPECT_EQ(Entries(), merged);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"a", "b", "k", "m", "z"}));
    EXPECT_TRUE(MarkedRows().empty());
    EXPECT_TRUE(m_pDoc->IsModified());
    for (const auto& pEntry : m_pDoc->m_entryList) {
        EXPECT_EQ(pEntry->m_strFourth, pEntry->m_strSystem == "m" ? "kept" : "") << pEntry->m_strSystem;
    }

    ASSERT_TRUE(m_pDoc->OnSaveDocument(m_strCurrentPath));
    EXPECT_EQ(ReadFile(m_strCurrentPath), merged);
}

TEST_F(MergeTest, DifferingPasswordAsksOnceAndYesTakesTheIncomingEntryEvenWhenOlder) {
    OpenCurrent({{"bank", "me", "new", kTime}, {"web", "w", "x", kTime}});
    QMPassword* pBank = m_pDoc->FindEntry("bank");
    pBank->m_strFourth = "note";
    const std::string other = WriteFile("other.klt", {{"bank", "me", "old", kTime - 30 * kDay}});

    ScriptedUser user;
    user.ChooseFile(other);
    user.Dialog(IDD_CONFIRM_REPLACE).Inspect([](CDialog& dialog) {
        EXPECT_EQ(FieldText(dialog, IDC_CUR_SYSTEM), "bank");
        EXPECT_EQ(FieldText(dialog, IDC_CUR_USERNAME), "me");
        EXPECT_EQ(FieldText(dialog, IDC_CUR_PASSWORD), "new");
        EXPECT_EQ(FieldText(dialog, IDC_CUR_LASTMODIFIED), CConfirmReplaceDlg::LastModifiedText(kTime));
        EXPECT_EQ(FieldText(dialog, IDC_WITH_SYSTEM), "bank");
        EXPECT_EQ(FieldText(dialog, IDC_WITH_USERNAME), "me");
        EXPECT_EQ(FieldText(dialog, IDC_WITH_PASSWORD), "old");
        EXPECT_EQ(FieldText(dialog, IDC_WITH_LASTMODIFIED),
                  CConfirmReplaceDlg::LastModifiedText(kTime - 30 * kDay));
    });
    user.Click(IDOK).Answer(IDOK);
    Merge();

    EXPECT_EQ(user.Dialogs(), std::vector<UINT>{IDD_CONFIRM_REPLACE});
    ExpectMergeComplete(user);
    // The same entry, in its row, now holds the incoming texts and time and still its fourth text.
    EXPECT_EQ(m_pDoc->FindEntry("bank"), pBank);
    EXPECT_EQ(Entries()[0], (EntrySpec{"bank", "me", "old", kTime - 30 * kDay}));
    EXPECT_EQ(pBank->m_strFourth, "note");
    EXPECT_EQ(m_pView->FindEntryIndex(pBank), 0);
    EXPECT_EQ(Rows(), (std::vector<std::string>{"bank", "web"}));
    EXPECT_TRUE(m_pDoc->IsModified());
}

TEST_F(MergeTest, NoEscapeAndTheCloseBoxLeaveTheEntryAsItWas) {
    const std::vector<EntrySpec> current = {
        {"a", "user", "pw", kTime}, {"b", "user", "pw", kTime}, {"c", "user", "pw", kTime}};
    OpenCurrent(current);
    // A differing user name asks as a differing password does.
    const std::string other = WriteFile("other.klt", {{"a", "other", "pw", kTime + kDay},
                                                      {"b", "user", "other", kTime + kDay},
                                                      {"c", "other", "other", kTime + kDay}});
    ScriptedUser user;
    user.ChooseFile(other);
    user.Dialog(IDD_CONFIRM_REPLACE).Click(IDCANCEL);
    user.Dialog(IDD_CONFIRM_REPLACE).Escape();
    user.Dialog(IDD_CONFIRM_REPLACE).CloseBox();
    user.Answer(IDOK);
    Merge();

    EXPECT_EQ(user.Dialogs().size(), 3u);
    ExpectMergeComplete(user);
    EXPECT_EQ(Entries(), current);
    EXPECT_FALSE(m_pDoc->IsModified());
}

TEST_F(MergeTest, ProtectedFileIsUnlockedWithItsOwnPassword) {
    OpenCurrent({{"a", "u", "p", kTime}});
    const std::string other = WriteFile("protected.klt", {{"b", "u", "p", kTime}}, "secret");
    ScriptedUser user;
    user.ChooseFile(other);
    user.Dialog(IDD_PASSWORD).Type(IDC_PASSWORD, "secret").Click(IDOK);
    user.Answer(IDOK);
    Merge();

    ExpectMergeComplete(user);
    EXPECT_EQ(Entries().size(), 2u);
    // The open document keeps its own (empty) master password, path and title.
    EXPECT_FALSE(m_pDoc->m_masterPassword.IsAbsent());
    EXPECT_EQ(m_pDoc->m_masterPassword.GetText(), "");
    EXPECT_EQ(m_pDoc->GetPathName(), m_strCurrentPath);
    EXPECT_EQ(m_pDoc->GetTitle(), "current.klt");
}

TEST_F(MergeTest, RefusedOrEmptyFilesMergeNothingButStillComplete) {
    const std::vector<EntrySpec> current = {{"a", "u", "p", kTime}, {"b", "u", "p", kTime}};
    OpenCurrent(current);
    const std::string protectedFile = WriteFile("protected.klt", {{"c", "u", "p", kTime}}, "secret");
    const std::string brokenFile = PathOf("broken.klt");
    std::ofstream(brokenFile, std::ios::binary) << "X";
    const std::string emptyFile = WriteFile("empty.klt", {});

    struct Attempt {
        const char* name;
        std::function<void(ScriptedUser&)> script;
        std::vector<std::string> messages;
    };
    const Attempt attempts[] = {
        {"password prompt cancelled",
         [&](ScriptedUser& user) { user.ChooseFile(protectedFile).Dialog(IDD_PASSWORD).Click(IDCANCEL); },
         {"Merge complete."}},
        {"wrong password",
         [&](ScriptedUser& user) {
             user.ChooseFile(protectedFile).Dialog(IDD_PASSWORD).Type(IDC_PASSWORD, "guess").Click(IDOK);
             user.Answer(IDOK);
         },
         {"Invalid Password.", "Merge complete."}},
        {"not a password file",
         [&](ScriptedUser& user) { user.ChooseFile(brokenFile).Answer(IDOK); },
         {"Unexpected file format.", "Merge complete."}},
        {"gone since it was chosen",
         [&](ScriptedUser& user) { user.ChooseFile(PathOf("gone.klt")).Answer(IDOK); },
         {PathOf("gone.klt") + " was not found.", "Merge complete."}},
        {"empty file", [&](ScriptedUser& user) { user.ChooseFile(emptyFile); }, {"Merge complete."}},
    };
    for (const Attempt& attempt : attempts) {
        SCOPED_TRACE(attempt.name);
        m_pView->m_listBox.SetSel(1, TRUE);
        ScriptedUser user;
        attempt.script(user);
        user.Answer(IDOK);
        Merge();

        std::vector<std::string> messages;
        for (const auto& box : user.MessageBoxes()) {
            messages.push_back(box.text);
        }
        EXPECT_EQ(messages, attempt.messages);
        ExpectMergeComplete(user);
        EXPECT_EQ(Entries(), current);
        EXPECT_FALSE(m_pDoc->IsModified());
        EXPECT_TRUE(MarkedRows().empty());
        EXPECT_EQ(LastFile(), m_strCurrentPath);
    }
}

TEST_F(MergeTest, OwnPathReadsTheFileOnDiskNotTheUnsavedChanges) {
    OpenCurrent({{"a", "u", "saved", kTime}, {"b", "u", "p", kTime}});
    // Unsaved: a's password changed, b deleted, c added.
    m_pDoc->FindEntry("a")->m_strPassword = "unsaved";
    m_pDoc->m_entryList.pop_back();
    m_pDoc->m_entryList.push_back(std::make_unique<QMPassword>("c", "u", "p", kTime));
    m_pView->OnUpdate(nullptr, 0, nullptr);
    m_pDoc->SetModifiedFlag();

    ScriptedUser user;
    user.ChooseFile(m_strCurrentPath);
    user.Dialog(IDD_CONFIRM_REPLACE).Inspect([](CDialog& dialog) {
        EXPECT_EQ(FieldText(dialog, IDC_CUR_PASSWORD), "unsaved");
        EXPECT_EQ(FieldText(dialog, IDC_WITH_PASSWORD), "saved");
    });
    user.Click(IDCANCEL).Answer(IDOK);
    Merge();

    EXPECT_EQ(Entries(), (std::vector<EntrySpec>{
                             {"a", "u", "unsaved", kTime}, {"c", "u", "p", kTime}, {"b", "u", "p", kTime}}));
    EXPECT_EQ(Rows(), (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(m_pDoc->GetPathName(), m_strCurrentPath);
}

TEST_F(MergeTest, LastFileStillNamesTheOpenDocument) {
    OpenCurrent({{"a", "u", "p", kTime}});
    ASSERT_EQ(LastFile(), m_strCurrentPath);
    ScriptedUser user;
    user.ChooseFile(WriteFile("other.klt", {{"b", "u", "p", kTime}})).Answer(IDOK);
    Merge();

    EXPECT_EQ(Entries().size(), 2u);
    EXPECT_EQ(LastFile(), m_strCurrentPath);
}

TEST_F(MergeTest, DocumentRefilledWhileTheQuestionIsOpenIsLeftAlone) {
    OpenCurrent({{"a", "u", "1", kTime}, {"b", "u", "1", kTime}});
    const std::string other =
        WriteFile("other.klt", {{"a", "u", "2", kTime}, {"b", "u", "2", kTime}, {"n", "u", "2", kTime}});
    ScriptedUser user;
    user.ChooseFile(other);
    // Another command, run in the question's event loop, replaces the document's entries.
    user.Dialog(IDD_CONFIRM_REPLACE).Inspect([this](CDialog&) {
        m_pDoc->DeleteContents();
        m_pDoc->m_entryList.push_back(std::make_unique<QMPassword>("x", "u", "1", kTime));
        m_pDoc->UpdateAllViews(nullptr);
    });
    user.Click(IDOK);
    Merge();

    EXPECT_EQ(user.Dialogs().size(), 1u);
    EXPECT_TRUE(user.MessageBoxes().empty());
    EXPECT_EQ(Entries(), (std::vector<EntrySpec>{{"x", "u", "1", kTime}}));
    EXPECT_EQ(Rows(), std::vector<std::string>{"x"});
}
