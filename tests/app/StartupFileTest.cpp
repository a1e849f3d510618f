// Which password file the program opens at start: the one named on the command line, else
// DEFAULT.KLT beside the program, made after the master-password question when it is missing.

#include "KLTApp.h"
#include "KLTDoc.h"
#include "ScriptedUser.h"

#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>

using klt::testing::ScriptedUser;

namespace {

// A file without a master password holding the entry Mail for ann.
const unsigned char kMailFile[] = {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x85, 0x9E, 0x36, 0x01, 0x00,
                                   0xFF, 0xFF, 0x00, 0x00, 0x0A, 0x00, 'Q',  'M',  'P',  'a',  's',  's',
                                   'w',  'o',  'r',  'd',  0x04, 'M',  'a',  'i',  'l',  0x03, 'a',  'n',
                                   'n',  0x00, 0x00, 0x80, 0xEE, 0xB4, 0x36, 0x00, 0x00};

} // namespace

TEST(StartupFile, FileOnTheCommandLineIsOpenedAndShown) {
    QTemporaryDir dir;
    const std::string path = dir.filePath("mine.klt").toStdString();
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(kMailFile), sizeof kMailFile);

    CKLTApp app;
    app.SetCommandLine({path});
    ASSERT_TRUE(app.InitInstance());
    CKLTDoc* pDoc = app.GetOpenDocument();
    ASSERT_NE(pDoc, nullptr);
    EXPECT_EQ(pDoc->GetPathName(), path);
    ASSERT_EQ(pDoc->m_entryList.size(), 1u);
    EXPECT_EQ(pDoc->m_entryList.front()->m_strUserName, "ann");
    ASSERT_NE(app.m_pMainWnd, nullptr);
    EXPECT_TRUE(app.m_pMainWnd->IsWindowVisible());
    EXPECT_FALSE(std::filesystem::exists(app.GetPathBesideProgram("DEFAULT.KLT")));
}

TEST(StartupFile, MissingDefaultFileIsMadeBesideTheProgram) {
    CKLTApp app;
    const std::string path = app.GetPathBesideProgram("DEFAULT.KLT");
    EXPECT_EQ(std::filesystem::path(path).parent_path(),
              std::filesystem::canonical("/proc/self/exe").parent_path());
    std::filesystem::remove(path);

    ScriptedUser user;
    user.Answer(IDOK);
    user.Dialog(IDD_MASTER_PASSWORD).Type(IDC_NEW_PASSWORD, "Master").Click(IDOK);
    user.Dialog(IDD_CONFIRM_PASSWORD).Type(IDC_CONFIRM, "Master").Click(IDOK);
    ASSERT_TRUE(app.InitInstance());
    ASSERT_EQ(user.MessageBoxes().size(), 1u);
    EXPECT_EQ(user.MessageBoxes()[0].Icon(), static_cast<UINT>(MB_ICONINFORMATION));
    EXPECT_EQ(user.MessageBoxes()[0].text.rfind("The default password file has been created.", 0), 0u);
    EXPECT_TRUE(std::filesystem::exists(path));
    EXPECT_EQ(app.GetOpenDocument()->GetPathName(), path);
    EXPECT_EQ(app.GetOpenDocument()->m_masterPassword.GetText(), "Master");
    std::filesystem::remove(path);
}
