// The password document on its own: open, save, their messages, the time stamp, the second list.

#include "document/KLTDoc.h"

#include "document/DocTestFiles.h"
#include "framework/Dialog.h"
#include "store/Archive.h"
#include "store/FileException.h"
#include "support/ByteHelpers.h"
#include "support/scripted/ScriptedUser.h"

#include <ctime>
#include <filesystem>
#include <functional>

using klt::test::DocApp;
using klt::test::DocFolder;
using klt::test::Hex;
using klt::test::kStamp;
using klt::test::TwoEntries;
using klt::testing::ScriptedUser;

namespace {

int32_t Now() {
    return static_cast<int32_t>(std::time(nullptr));
}

std::vector<std::string> Systems(const CKLTDoc& doc) {
    std::vector<std::string> names;
    for (const auto& pEntry : doc.m_entryList) {
        names.push_back(pEntry->m_strSystem);
    }
    return names;
}

const std::vector<std::string> kTwo = {"Mail", "Bank"};

class KLTDocTest : public ::testing::Test {
protected:
    // Opens an unprotected file with two entries, as the state every failure starts from.
    void OpenTwoEntries() {
        ASSERT_TRUE(m_doc.OnOpenDocument(m_folder.Write("two.klt", TwoEntries())));
        ASSERT_EQ(Systems(m_doc), kTwo);
        m_app.WriteProfileString("Settings", "Last File", nullptr);
    }

    DocFolder m_folder;
    DocApp m_app;
    CKLTDoc m_doc;
};

} // namespace

TEST_F(KLTDocTest, OpensAProtectedFileWithItsPassword) {
    const std::string path = m_folder.Write("a.klt", TwoEntries("Secret"));
    ScriptedUser user;
    user.Dialog(IDD_PASSWORD)
        .Inspect([](CDialog& d) { EXPECT_EQ(d.GetWindowText(), "Enter the password for a.klt."); })
        .Type(IDC_PASSWORD, "Secret")
        .Click(IDOK);
    m_doc.SetModifiedFlag(FALSE);
    ASSERT_TRUE(m_doc.OnOpenDocument(path));
    EXPECT_EQ(Systems(m_doc), kTwo);
    EXPECT_EQ(m_doc.m_entryList.front()->m_strPassword, "pw1");
    EXPECT_EQ(m_doc.m_timeStamp, kStamp); // an earlier stored stamp is kept
    EXPECT_EQ(m_doc.m_masterPassword.GetText(), "Secret");
    EXPECT_FALSE(m_doc.IsModified());
    EXPECT_EQ(m_app.LastFile(), path);
    EXPECT_TRUE(user.MessageBoxes().empty());
}

TEST_F(KLTDocTest, SecondListIsKeptWrittenBackAndDroppedWithTheContents) {
    klt::PasswordFileContent content = TwoEntries();
    content.secondList.push_back(std::make_unique<QMPassword>("Extra", "x", "y", 5));
    const std::string original = content.Build();
    const std::string path = m_folder.Write("second.klt", original);

    ASSERT_TRUE(m_doc.OnOpenDocument(path)); // no password question
    EXPECT_FALSE(m_doc.m_masterPassword.IsAbsent());
    ASSERT_EQ(m_doc.m_secondList.size(), 1u);
    ASSERT_TRUE(m_doc.OnSaveDocument(path));
    EXPECT_EQ(DocFolder::Read(path), original); // byte for byte, second list after the entries

    // Nothing of that file is carried into the next one.
    m_doc.DeleteContents();
    EXPECT_TRUE(m_doc.m_entryList.empty());
    EXPECT_TRUE(m_doc.m_secondList.empty());
    EXPECT_TRUE(m_doc.m_masterPassword.IsAbsent());
    m_doc.m_masterPassword.SetPassword("");
    const std::string emptyPath = m_folder.PathOf("empty.klt");
    ASSERT_TRUE(m_doc.OnSaveDocument(emptyPath));
    const std::string image = DocFolder::Read(emptyPath);
    EXPECT_EQ(image.size(), 14u);
    EXPECT_EQ(image.substr(10), Hex("00 00 00 00"));
}

TEST_F(KLTDocTest, FutureTimeStampGivesWayToTheTimeOfOpening) {
    const int32_t future = Now() + 10 * 86400;
    const std::string path = m_folder.Write("future.klt", TwoEntries("", future));
    const int32_t before = Now();
    ASSERT_TRUE(m_doc.OnOpenDocument(path));
    EXPECT_GE(m_doc.m_timeStamp, before);
    EXPECT_LE(m_doc.m_timeStamp, Now());
    ASSERT_TRUE(m_doc.OnSaveDocument(path));
    EXPECT_EQ(klt::test::StampOf(DocFolder::Read(path), 0), m_doc.m_timeStamp);
}

TEST_F(KLTDocTest, SecondFileEmptiesTheFirstBeforeItsPasswordIsAsked) {
    OpenTwoEntries();
    const std::string path = m_folder.Write("b.klt", TwoEntries("pw"));
    ScriptedUser user;
    user.Dialog(IDD_PASSWORD)
        .Inspect([this](CDialog&) {
            EXPECT_TRUE(m_doc.m_entryList.empty());
            EXPECT_TRUE(m_doc.m_masterPassword.IsAbsent());
        })
        .Click(IDCANCEL);
    EXPECT_FALSE(m_doc.OnOpenDocument(path));
    EXPECT_TRUE(user.MessageBoxes().empty()); // a cancelled prompt says nothing
    EXPECT_TRUE(m_doc.m_entryList.empty());
    EXPECT_TRUE(m_doc.m_masterPassword.IsAbsent());
    EXPECT_EQ(m_app.LastFile(), "");
}

TEST_F(KLTDocTest, EachRefusedFileHasItsMessageAndLeavesTheDocumentEmpty) {
    const std::string body = TwoEntries().Build().substr(2);
    const std::string truncated = TwoEntries().Build();
    std::string unknownClass = truncated;
    unknownClass.replace(unknownClass.find("QMPassword"), 10, "QMPassworx");

    struct Case {
        const char* name;
        std::string bytes;
        std::function<void(ScriptedUser&)> answerPrompt; // null: no question expected
        const char* message;
        UINT icon;
        bool bModified; // a failure in the stream leaves the flag set
    };
    const auto typing = [](const char* text) {
        return [text](ScriptedUser& user) { user.Dialog(IDD_PASSWORD).Type(IDC_PASSWORD, text).Click(IDOK); };
    };
    const std::string kEncrypted =
        "This password file requires the encrypted edition.  To convert, open this file in the encrypted "
        "edition and save it without a password.";
    const std::vector<Case> cases = {
        {"encrypted", Hex("01 00") + body, nullptr, kEncrypted.c_str(), MB_ICONSTOP, false},
        // The password is asked for before the enciphered flag is looked at.
        {"encrypted protected", Hex("01 01") + body, typing("x"), kEncrypted.c_str(), MB_ICONSTOP, false},
        {"wrong password", TwoEntries("Secret").Build(), typing("secret"), "Invalid Password.", MB_ICONSTOP,
         false},
        {"shorter than its header", Hex("00 00 00"), nullptr, "Unexpected file format.", MB_ICONEXCLAMATION,
         false},
        {"password past the end", Hex("00 00 0A000000 41 42"), nullptr, "Unexpected file format.",
         MB_ICONEXCLAMATION, false},
        {"truncated body", truncated.substr(0, truncated.size() - 3), nullptr, "Unexpected file format.",
         MB_ICONEXCLAMATION, true},
        {"unknown class", unknownClass, nullptr, "Unexpected file format.", MB_ICONEXCLAMATION, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        OpenTwoEntries();
        const std::string path = m_folder.Write("bad.klt", c.bytes);
        ScriptedUser user;
        if (c.answerPrompt) {
            c.answerPrompt(user);
        }
        user.Answer(IDOK);
        m_doc.SetModifiedFlag(FALSE);
        EXPECT_FALSE(m_doc.OnOpenDocument(path));
        ASSERT_EQ(user.MessageBoxes().size(), 1u);
        EXPECT_EQ(user.MessageBoxes()[0].text, c.message);
        EXPECT_EQ(user.MessageBoxes()[0].caption, "Keyloft");
        EXPECT_EQ(user.MessageBoxes()[0].Icon(), c.icon);
        EXPECT_TRUE(m_doc.m_entryList.empty());
        EXPECT_TRUE(m_doc.m_masterPassword.IsAbsent());
        EXPECT_EQ(bool(m_doc.IsModified()), c.bModified);
        EXPECT_EQ(m_app.LastFile(), "");
    }
}

TEST_F(KLTDocTest, UnreadableFileLeavesTheDocumentUntouched) {
    OpenTwoEntries();
    m_doc.SetModifiedFlag();
    const std::string path = m_folder.PathOf("missing.klt");
    ScriptedUser user;
    user.Answer(IDOK);
    EXPECT_FALSE(m_doc.OnOpenDocument(path));
    ASSERT_EQ(user.MessageBoxes().size(), 1u);
    EXPECT_EQ(user.MessageBoxes()[0].text, path + " was not found.");
    EXPECT_EQ(user.MessageBoxes()[0].Icon(), MB_ICONEXCLAMATION);
    EXPECT_EQ(Systems(m_doc), kTwo);
    EXPECT_FALSE(m_doc.m_masterPassword.IsAbsent());
    EXPECT_TRUE(m_doc.IsModified());
}

TEST_F(KLTDocTest, CancelledFirstSaveWritesNothingAndTheNextSaveWritesUnprotected) {
    m_doc.DeleteContents();
    m_doc.m_entryList.push_back(std::make_unique<QMPassword>("Mail", "ann", "pw", kStamp));
    m_doc.SetModifiedFlag();
    const std::string path = m_folder.PathOf("new.klt");
    ScriptedUser user;
    user.Dialog(IDD_MASTER_PASSWORD).Click(IDCANCEL);
    user.Answer(IDOK);
    EXPECT_FALSE(m_doc.OnSaveDocument(path));
    ASSERT_EQ(user.MessageBoxes().size(), 1u);
    EXPECT_EQ(user.MessageBoxes()[0].text, "Your file was not saved.");
    EXPECT_EQ(user.MessageBoxes()[0].Icon(), MB_ICONSTOP);
    EXPECT_FALSE(std::filesystem::exists(path));
    EXPECT_TRUE(m_doc.IsModified());

    ASSERT_TRUE(m_doc.OnSaveDocument(path)); // no question this time
    EXPECT_EQ(user.Dialogs().size(), 1u);
    EXPECT_EQ(DocFolder::Read(path).substr(0, 6), Hex("00 00 00000000"));
    EXPECT_FALSE(m_doc.IsModified());
    EXPECT_EQ(m_app.LastFile(), path);
}

TEST_F(KLTDocTest, PasswordChosenAtTheFirstSaveProtectsTheFile) {
    m_doc.DeleteContents();
    m_doc.m_entryList.push_back(std::make_unique<QMPassword>("Mail", "ann", "pw", kStamp));
    const std::string path = m_folder.PathOf("protected.klt");
    ScriptedUser user;
    user.Dialog(IDD_MASTER_PASSWORD).Type(IDC_NEW_PASSWORD, "Secret").Click(IDOK);
    user.Dialog(IDD_CONFIRM_PASSWORD).Type(IDC_CONFIRM, "Secret").Click(IDOK);
    ASSERT_TRUE(m_doc.OnSaveDocument(path));
    EXPECT_EQ(DocFolder::Read(path).substr(0, 12), Hex("00 01 06000000") + "Secret");

    user.Dialog(IDD_PASSWORD).Type(IDC_PASSWORD, "Secret").Click(IDOK);
    ASSERT_TRUE(m_doc.OnOpenDocument(path));
    EXPECT_EQ(Systems(m_doc), std::vector<std::string>{"Mail"});
}

TEST_F(KLTDocTest, FailedSaveKeepsTheFileAndTheDocument) {
    OpenTwoEntries();
    m_doc.SetModifiedFlag();
    const std::string path = m_folder.PathOf("no such folder/a.klt");
    ScriptedUser user;
    user.Answer(IDOK);
    EXPECT_FALSE(m_doc.OnSaveDocument(path));
    ASSERT_EQ(user.MessageBoxes().size(), 1u);
    EXPECT_EQ(user.MessageBoxes()[0].text, klt::FileErrorText(CFileException::fileNotFound, path));
    EXPECT_EQ(user.MessageBoxes()[0].Icon(), MB_ICONEXCLAMATION);
    EXPECT_TRUE(m_doc.IsModified());
    EXPECT_EQ(Systems(m_doc), kTwo);
    EXPECT_EQ(m_app.LastFile(), "");
}

TEST_F(KLTDocTest, PasswordTooLongForTheFileIsNeverWritten) {
    const std::string path = m_folder.Write("keep.klt", TwoEntries());
    ASSERT_TRUE(m_doc.OnOpenDocument(path));
    m_doc.m_masterPassword.SetPassword(std::string(256, 'a'));
    ScriptedUser user;
    user.Answer(IDOK);
    EXPECT_FALSE(m_doc.OnSaveDocument(path));
    ASSERT_EQ(user.MessageBoxes().size(), 1u);
    EXPECT_NE(user.MessageBoxes()[0].text.find("255"), std::string::npos);
    EXPECT_EQ(user.MessageBoxes()[0].Icon(), MB_ICONSTOP);
    EXPECT_EQ(DocFolder::Read(path), TwoEntries().Build());

    m_doc.m_masterPassword.SetPassword(std::string(255, 'a')); // the longest that reads back whole
    ASSERT_TRUE(m_doc.OnSaveDocument(path));
    ScriptedUser again;
    again.Dialog(IDD_PASSWORD).Type(IDC_PASSWORD, std::string(255, 'a')).Click(IDOK);
    ASSERT_TRUE(m_doc.OnOpenDocument(path));
    EXPECT_EQ(Systems(m_doc), kTwo);
}

TEST_F(KLTDocTest, FindEntryMatchesExactNamesFromTheHeadAndSkipsTheExcludedOne) {
    EXPECT_EQ(m_doc.FindEntry("Mail"), nullptr);
    for (const char* name : {"Mail", "mail", "Mail"}) {
        m_doc.m_entryList.push_back(std::make_unique<QMPassword>(name, "", "", 0));
    }
    QMPassword* pFirst = m_doc.m_entryList.front().get();
    QMPassword* pLower = std::next(m_doc.m_entryList.begin())->get();
    QMPassword* pLast = m_doc.m_entryList.back().get();
    EXPECT_EQ(m_doc.FindEntry("Mail"), pFirst);
    EXPECT_EQ(m_doc.FindEntry("Mail", pFirst), pLast);
    EXPECT_EQ(m_doc.FindEntry("mail"), pLower);
    EXPECT_EQ(m_doc.FindEntry("mail", pLower), nullptr); // an entry may keep its own name
    EXPECT_EQ(m_doc.FindEntry("Mai"), nullptr);
    EXPECT_EQ(m_doc.FindEntry("Mail "), nullptr);
}

TEST_F(KLTDocTest, SaveAsksBeforeReplacingWhatAnotherProgramWrote) {
    for (const int nAnswer : {IDNO, IDYES}) {
        const std::string path = m_folder.Write("two.klt", TwoEntries());
        ASSERT_TRUE(m_doc.OnOpenDocument(path));
        m_doc.SetModifiedFlag();
        ScriptedUser user; // nothing to ask while the file is as this document left it
        ASSERT_TRUE(m_doc.OnSaveDocument(path));

        m_folder.Write("two.klt", TwoEntries("theirs")); // written in place, as an editor would
        const std::string theirs = DocFolder::Read(path);
        m_doc.SetModifiedFlag();
        user.Answer(nAnswer);
        EXPECT_EQ(m_doc.OnSaveDocument(path), nAnswer == IDYES);
        ASSERT_EQ(user.MessageBoxes().size(), 1u);
        EXPECT_EQ(user.MessageBoxes()[0].text,
                  path + " has been changed by another program since it was opened or "
                         "saved. Replace it with your version?");
        EXPECT_EQ(user.MessageBoxes()[0].Buttons(), static_cast<UINT>(MB_YESNO));
        EXPECT_EQ(DocFolder::Read(path) == theirs, nAnswer == IDNO);
        EXPECT_EQ(m_doc.IsModified(), nAnswer == IDNO);
        EXPECT_EQ(Systems(m_doc), kTwo);
    }
}
