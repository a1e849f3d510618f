// New, Open, Save and Save As around a document, and the recent-file list.

#include "framework/TestDocView.h"
#include "store/FileIo.h"

#include <QMenu>
#include <QSettings>
#include <filesystem>
#include <unistd.h>

using klt::testing::ScriptedUser;

namespace {

std::string Caption(CFrameWnd* pFrame) {
    return pFrame->GetWindowText();
}

} // namespace

class DocumentTest : public FrameworkTest {
protected:
    void Modify(std::vector<std::string> lines) {
        m_pDoc->m_lines = std::move(lines);
        m_pDoc->SetModifiedFlag();
    }
};

TEST_F(DocumentTest, NewDocumentIsUntitledAndShowsItsTitleInTheCaption) {
    EXPECT_EQ(m_pDoc->GetTitle(), "Untitled");
    EXPECT_EQ(m_pDoc->GetPathName(), "");
    EXPECT_FALSE(m_pDoc->IsModified());
    EXPECT_EQ(Caption(m_pFrame), "Untitled - Keyloft");
    EXPECT_GE(m_pView->m_nUpdates, 1); // the initial update filled the view
}

TEST_F(DocumentTest, SaveQuestionCancelKeepsTheDocument) {
    Modify({"kept"});
    ScriptedUser user;
    user.Answer(IDCANCEL);
    m_pApp->OnFileNew();
    ASSERT_EQ(user.MessageBoxes().size(), 1u);
    EXPECT_EQ(user.MessageBoxes()[0].text, "Save changes to Untitled?");
    EXPECT_EQ(user.MessageBoxes()[0].Buttons(), MB_YESNOCANCEL);
    EXPECT_EQ(user.MessageBoxes()[0].Icon(), MB_ICONEXCLAMATION);
    EXPECT_EQ(user.MessageBoxes()[0].caption, "Keyloft");
    EXPECT_EQ(m_pDoc->m_lines, std::vector<std::string>{"kept"});
    EXPECT_TRUE(m_pDoc->IsModified());
}

TEST_F(DocumentTest, SaveQuestionNoDiscardsTheChanges) {
    Modify({"dropped"});
    ScriptedUser user;
    user.Answer(IDNO);
    m_pApp->OnFileNew();
    EXPECT_TRUE(m_pDoc->m_lines.empty());
    EXPECT_FALSE(m_pDoc->IsModified());
    EXPECT_TRUE(user.FileDialogs().empty());
}

TEST_F(DocumentTest, SaveQuestionYesSavesAnUntitledDocumentThroughSaveAs) {
    Modify({"one", "two"});
    const std::string path = PathOf("saved"); // no extension: the template's is added
    ScriptedUser user;
    user.Answer(IDYES).ChooseFile(path);
    m_pApp->OnFileNew();
    ASSERT_EQ(user.FileDialogs().size(), 1u);
    EXPECT_FALSE(user.FileDialogs()[0].bOpen);
    EXPECT_EQ(user.FileDialogs()[0].initialPath, "Untitled.klt");
    EXPECT_EQ(user.FileDialogs()[0].qtFilter, "Keyloft Files (*.klt);;All Files (*)");
    EXPECT_EQ(ReadDocFile(path + ".klt"), (std::vector<std::string>{"one", "two"}));
    EXPECT_TRUE(m_pDoc->m_lines.empty()); // and then New went on
}

TEST_F(DocumentTest, SaveQuestionYesWithSaveAsCancelledStopsTheCommand) {
    Modify({"kept"});
    ScriptedUser user;
    user.Answer(IDYES).CancelFileDialog();
    m_pApp->OnFileNew();
    EXPECT_EQ(m_pDoc->m_lines, std::vector<std::string>{"kept"});
    EXPECT_TRUE(m_pDoc->IsModified());
}

TEST_F(DocumentTest, OpenSetsPathTitleAndRecentFileAndFillsTheView) {
    const std::string path = WriteDocFile("a.klt", {"beta", "Alpha"});
    const int updates = m_pView->m_nUpdates;
    ASSERT_NE(m_pApp->OpenDocumentFile(path), nullptr);
    EXPECT_EQ(m_pDoc->GetPathName(), path);
    EXPECT_EQ(m_pDoc->GetTitle(), "a.klt");
    EXPECT_FALSE(m_pDoc->IsModified());
    EXPECT_EQ(Caption(m_pFrame), "a.klt - Keyloft");
    EXPECT_GT(m_pView->m_nUpdates, updates);
    std::string first;
    m_pView->m_list.GetText(0, first);
    EXPECT_EQ(first, "Alpha");
    ASSERT_EQ(m_pApp->GetRecentFileList()->GetCount(), 1);
    EXPECT_EQ((*m_pApp->GetRecentFileList())[0], path);
    EXPECT_GT(m_pDoc->m_nWaitCursorWhileOpening, 0);
    EXPECT_EQ(m_pApp->GetWaitCursorCount(), 0);
}

TEST_F(DocumentTest, OpeningTheOpenFileAgainDoesNotReadItAgain) {
    const std::string path = WriteDocFile("a.klt", {"x"});
    ASSERT_NE(m_pApp->OpenDocumentFile(path), nullptr);
    const int deletes = m_pDoc->m_nDeleteContents;
    std::filesystem::create_directory(PathOf("sub")); // the kernel takes "sub/.." only where sub exists
    const std::string otherSpelling = PathOf("./sub/../a.klt");
    EXPECT_EQ(m_pApp->OpenDocumentFile(otherSpelling), m_pDoc);
    EXPECT_EQ(m_pDoc->m_nDeleteContents, deletes);
}

TEST_F(DocumentTest, FailedOpenOfAMissingFileLeavesTheDocumentAsItWas) {
    const std::string path = WriteDocFile("a.klt", {"mine"});
    ASSERT_NE(m_pApp->OpenDocumentFile(path), nullptr);
    Modify({"mine", "edited"});
    ScriptedUser user;
    user.Answer(IDNO).Answer(IDOK);
    EXPECT_EQ(m_pApp->OpenDocumentFile(PathOf("missing.klt")), nullptr);
    ASSERT_EQ(user.MessageBoxes().size(), 2u);
    EXPECT_EQ(user.MessageBoxes()[1].text, PathOf("missing.klt") + " was not found.");
    EXPECT_EQ(user.MessageBoxes()[1].Icon(), MB_ICONEXCLAMATION);
    // Untouched: its entries, its path and its remembered modified flag.
    EXPECT_EQ(m_pDoc->m_lines, (std::vector<std::string>{"mine", "edited"}));
    EXPECT_EQ(m_pDoc->GetPathName(), path);
    EXPECT_TRUE(m_pDoc->IsModified());
}

TEST_F(DocumentTest, FailedOpenThatEmptiedTheDocumentMakesItANewUntitledOne) {
    const std::string path = WriteDocFile("a.klt", {"mine"});
    ASSERT_NE(m_pApp->OpenDocumentFile(path), nullptr);
    const std::string broken = WriteRawFile("broken.klt", std::string("\x05\x00\x03"
                                                                      "ab",
                                                                      5)); // promises 5 lines
    ScriptedUser user;
    user.Answer(IDOK);
    const int updates = m_pView->m_nUpdates;
    EXPECT_EQ(m_pApp->OpenDocumentFile(broken), nullptr);
    ASSERT_EQ(user.MessageBoxes().size(), 1u);
    EXPECT_EQ(user.MessageBoxes()[0].text, "Unexpected file format.");
    EXPECT_TRUE(m_pDoc->m_lines.empty());
    EXPECT_EQ(m_pDoc->GetPathName(), "");
    EXPECT_EQ(m_pDoc->GetTitle(), "Untitled");
    EXPECT_FALSE(m_pDoc->IsModified());
    EXPECT_EQ(Caption(m_pFrame), "Untitled - Keyloft");
    EXPECT_GT(m_pView->m_nUpdates, updates);
    EXPECT_EQ(m_pView->m_list.GetCount(), 0);
}

TEST_F(DocumentTest, EmptiedDocumentWithItsFlagClearIsResetAndCannotOverwriteTheFormerFile) {
    const std::string path = WriteDocFile("a.klt", {"precious"});
    ASSERT_NE(m_pApp->OpenDocumentFile(path), nullptr);
    m_pDoc->m_failure = TestDoc::Failure::emptyThenCancel; // like a cancelled password prompt: no message
    EXPECT_EQ(m_pApp->OpenDocumentFile(WriteDocFile("b.klt", {"other"})), nullptr);
    EXPECT_EQ(m_pDoc->GetPathName(), "");
    EXPECT_EQ(m_pView->m_list.GetCount(), 0);
    // A later save asks for a name instead of writing the emptied document over a.klt.
    m_pDoc->m_failure = TestDoc::Failure::none;
    ScriptedUser user;
    user.CancelFileDialog();
    m_pFrame->SendMessage(WM_COMMAND, ID_FILE_SAVE);
    EXPECT_EQ(user.FileDialogs().size(), 1u);
    EXPECT_EQ(ReadDocFile(path), std::vector<std::string>{"precious"});
}

TEST_F(DocumentTest, SaveWritesToThePathAndSaveAsWhenTheFileIsGone) {
    const std::string path = WriteDocFile("a.klt", {"old"});
    ASSERT_NE(m_pApp->OpenDocumentFile(path), nullptr);
    Modify({"new"});
    m_pFrame->SendMessage(WM_COMMAND, ID_FILE_SAVE); // no dialog: the scripted user has no steps
    EXPECT_EQ(ReadDocFile(path), std::vector<std::string>{"new"});
    EXPECT_FALSE(m_pDoc->IsModified());

    std::filesystem::remove(path);
    const std::string elsewhere = PathOf("b.klt");
    ScriptedUser user;
    user.ChooseFile(elsewhere);
    m_pFrame->SendMessage(WM_COMMAND, ID_FILE_SAVE);
    ASSERT_EQ(user.FileDialogs().size(), 1u);
    EXPECT_EQ(user.FileDialogs()[0].initialPath, path);
    EXPECT_EQ(m_pDoc->GetPathName(), elsewhere);
    EXPECT_EQ(Caption(m_pFrame), "b.klt - Keyloft");
}

TEST_F(DocumentTest, SaveOfAFileTheUserMayNotWriteAsksForAnotherName) {
    if (geteuid() == 0) {
        GTEST_SKIP() << "the superuser may write every file";
    }
    const std::string path = WriteDocFile("a.klt", {"old"});
    ASSERT_NE(m_pApp->OpenDocumentFile(path), nullptr);
    std::filesystem::permissions(path, std::filesystem::perms::owner_read,
                                 std::filesystem::perm_options::replace);
    ScriptedUser user;
    user.CancelFileDialog();
    m_pFrame->SendMessage(WM_COMMAND, ID_FILE_SAVE);
    EXPECT_EQ(user.FileDialogs().size(), 1u);
}

TEST_F(DocumentTest, FailedSaveAsLeavesTheChosenExistingFileAlone) {
    const std::string existing = WriteDocFile("existing.klt", {"someone else's"});
    Modify({"mine"});
    m_pDoc->m_failure = TestDoc::Failure::save;
    ScriptedUser user;
    user.ChooseFile(existing).Answer(IDOK);
    m_pFrame->SendMessage(WM_COMMAND, ID_FILE_SAVE_AS);
    EXPECT_EQ(ReadDocFile(existing), std::vector<std::string>{"someone else's"});
    EXPECT_EQ(m_pDoc->GetPathName(), "");
    EXPECT_TRUE(m_pDoc->IsModified());
}

TEST_F(DocumentTest, SaveErrorIsReportedWithItsCauseAndKeepsTheFlag) {
    Modify({"x"});
    const std::string path = PathOf("no/such/folder/a.klt");
    ScriptedUser user;
    user.ChooseFile(path).Answer(IDOK);
    m_pFrame->SendMessage(WM_COMMAND, ID_FILE_SAVE_AS);
    ASSERT_EQ(user.MessageBoxes().size(), 1u);
    EXPECT_NE(user.MessageBoxes()[0].text.find(path), std::string::npos) << user.MessageBoxes()[0].text;
    EXPECT_TRUE(m_pDoc->IsModified());
}

TEST_F(DocumentTest, OpenCommandUsesTheFileDialogWithTheTemplatesFilter) {
    const std::string path = WriteDocFile("a.klt", {"x"});
    ScriptedUser user;
    user.ChooseFile(path);
    m_pFrame->SendMessage(WM_COMMAND, ID_FILE_OPEN);
    ASSERT_EQ(user.FileDialogs().size(), 1u);
    EXPECT_TRUE(user.FileDialogs()[0].bOpen);
    EXPECT_NE(user.FileDialogs()[0].flags & OFN_FILEMUSTEXIST, 0u);
    EXPECT_EQ(user.FileDialogs()[0].defaultSuffix, "klt");
    EXPECT_EQ(m_pDoc->GetPathName(), path);
}

class RecentFileTest : public DocumentTest {
protected:
    // The File menu's items after the framework has updated it, as the user sees them.
    std::vector<std::pair<std::string, bool>> RecentItems() {
        CMenu* pFile = m_pFrame->GetMenu()->GetSubMenu(0);
        m_pFrame->OnInitMenuPopup(pFile, 0, FALSE);
        std::vector<std::pair<std::string, bool>> items;
        for (QAction* pAction : pFile->GetQMenu()->actions()) {
            const UINT nID = pAction->data().toUInt();
            if (nID >= ID_FILE_MRU_FILE1 && nID <= ID_FILE_MRU_FILE16) {
                items.emplace_back(pAction->text().toStdString(), pAction->isEnabled());
            }
        }
        return items;
    }
};

TEST_F(RecentFileTest, EmptyListShowsADisabledPlaceholder) {
    EXPECT_EQ(RecentItems(), (std::vector<std::pair<std::string, bool>>{{"Recent File", false}}));
}

TEST_F(RecentFileTest, KeepsTheFourLatestFilesNewestFirstWithoutRepeats) {
    for (const char* name : {"1.klt", "2.klt", "3.klt", "4.klt", "5.klt"}) {
        ASSERT_NE(m_pApp->OpenDocumentFile(WriteDocFile(name, {})), nullptr);
    }
    ASSERT_NE(m_pApp->OpenDocumentFile(PathOf("3.klt")), nullptr);
    const CRecentFileList& list = *m_pApp->GetRecentFileList();
    ASSERT_EQ(list.GetCount(), 4);
    EXPECT_EQ(list[0], PathOf("3.klt"));
    EXPECT_EQ(list[1], PathOf("5.klt"));
    EXPECT_EQ(list[2], PathOf("4.klt"));
    EXPECT_EQ(list[3], PathOf("2.klt"));

    const auto items = RecentItems();
    ASSERT_EQ(items.size(), 4u);
    for (size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i].first.substr(0, 3), "&" + std::to_string(i + 1) + " ");
        EXPECT_LE(items[i].first.size() - 3, 30u) << items[i].first;
        EXPECT_TRUE(items[i].second);
    }
    EXPECT_NE(items[0].first.find("3.klt"), std::string::npos);
}

TEST_F(RecentFileTest, IsWrittenToAndReadFromItsSettingsSection) {
    const std::string a = WriteDocFile("a.klt", {});
    const std::string b = WriteDocFile("b.klt", {});
    ASSERT_NE(m_pApp->OpenDocumentFile(a), nullptr);
    ASSERT_NE(m_pApp->OpenDocumentFile(b), nullptr);
    m_pApp->SaveStdProfileSettings();
    EXPECT_EQ(m_pApp->GetProfileString("Recent File List", "File1"), b);
    EXPECT_EQ(m_pApp->GetProfileString("Recent File List", "File2"), a);
    EXPECT_EQ(m_pApp->GetProfileString("Recent File List", "File3", "none"), "none");

    m_pApp->WriteProfileString("Recent File List", "File2", PathOf("c.klt"));
    m_pApp->LoadStdProfileSettings(4);
    ASSERT_EQ(m_pApp->GetRecentFileList()->GetCount(), 2);
    EXPECT_EQ((*m_pApp->GetRecentFileList())[1], PathOf("c.klt"));
}

TEST_F(RecentFileTest, ChoosingAnEntryOpensItAndAFailedOneLeavesTheList) {
    const std::string a = WriteDocFile("a.klt", {"from a"});
    const std::string b = WriteDocFile("b.klt", {});
    ASSERT_NE(m_pApp->OpenDocumentFile(a), nullptr);
    ASSERT_NE(m_pApp->OpenDocumentFile(b), nullptr);
    m_pFrame->SendMessage(WM_COMMAND, ID_FILE_MRU_FILE2);
    EXPECT_EQ(m_pDoc->m_lines, std::vector<std::string>{"from a"});

    std::filesystem::remove(b);
    ScriptedUser user;
    user.Answer(IDOK); // "... was not found."
    m_pFrame->SendMessage(WM_COMMAND, ID_FILE_MRU_FILE2);
    ASSERT_EQ(m_pApp->GetRecentFileList()->GetCount(), 1);
    EXPECT_EQ((*m_pApp->GetRecentFileList())[0], a);
}

TEST(AbbreviatePath, KeepsTheRootAndTheFileNameWithinTheLimit) {
    EXPECT_EQ(klt::AbbreviatePath("/home/ann/a.klt", 30), "/home/ann/a.klt");
    EXPECT_EQ(klt::AbbreviatePath("/home/ann/documents/passwords/work/a.klt", 30),
              "/.../passwords/work/a.klt");
    EXPECT_EQ(klt::AbbreviatePath("/home/ann/a-very-long-file-name-indeed.klt", 30),
              "a-very-long-file-name-indeed.klt");
}

TEST_F(DocumentTest, DotDotAfterALinkLeavesTheFolderTheLinkLeadsTo) {
    std::filesystem::create_directories(PathOf("real/deep"));
    std::filesystem::create_directories(PathOf("links"));
    std::filesystem::create_symlink("../real/deep", PathOf("links/sub"));
    // Where the kernel goes; other links kept; a '..' the kernel cannot take either stays.
    EXPECT_EQ(klt::FullPath(PathOf("links/sub/../x.klt")),
              std::filesystem::canonical(PathOf("real")) / "x.klt");
    EXPECT_EQ(klt::FullPath(PathOf("links/./sub/x.klt")), PathOf("links/sub/x.klt"));
    EXPECT_EQ(klt::FullPath(PathOf("links/none/../x.klt")), PathOf("links/none/../x.klt"));
}
