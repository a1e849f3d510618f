// Encrypted password files in the program: Save As with the encrypted type, opening one with its
// password and with a wrong one, and merging one into a plain file.

#include "app/AppTestSupport.h"
#include "framework/MessageBox.h"
#include "store/FileIo.h"

using klt::testing::AppTest;
using klt::testing::ScriptedUser;
using klt::testing::WritePasswordFile;
using klt::testing::WriteSetting;

namespace {

class EncryptedFileTest : public AppTest {
protected:
    void Command(UINT nID) const { m_pApp->m_pMainWnd->SendMessage(WM_COMMAND, nID); }
    std::vector<std::string> Systems() const {
        std::vector<std::string> names;
        for (const auto& pEntry : Doc()->m_entryList) {
            names.push_back(pEntry->m_strSystem);
        }
        return names;
    }
};

} // namespace

TEST_F(EncryptedFileTest, SaveAsEncryptedThenOpenAndMergeIt) {
    WritePasswordFile(File("plain.klt"), "", {"Mail", "Bank"});
    WriteSetting("Settings/Startup File", File("plain.klt"));
    Start({});
    const std::string sealed = File("sealed.kltx");
    {
        // The file has no password yet: the first try is cancelled and saves nothing.
        ScriptedUser user;
        user.ChooseFile(sealed).Dialog(IDD_MASTER_PASSWORD).Click(IDCANCEL);
        user.Answer(IDOK);
        user.ChooseFile(sealed).Dialog(IDD_MASTER_PASSWORD).Type(IDC_NEW_PASSWORD, "Secret").Click(IDOK);
        user.Dialog(IDD_CONFIRM_PASSWORD).Type(IDC_CONFIRM, "Secret").Click(IDOK);
        Command(ID_FILE_SAVE_AS);
        EXPECT_FALSE(std::filesystem::exists(sealed));
        Command(ID_FILE_SAVE_AS);
        EXPECT_EQ(user.FileDialogs()[0].qtFilter,
                  "Keyloft Files (*.klt);;Keyloft Encrypted Files (*.kltx);;All Files (*)");
        ASSERT_EQ(user.MessageBoxes().size(), 1u);
        EXPECT_EQ(user.MessageBoxes()[0].text, klt::LoadString(IDS_FILE_NOT_SAVED));
    }
    const std::string bytes = klt::ReadFileContents(sealed);
    EXPECT_EQ(bytes.substr(0, 4), "KLTX");
    for (const char* pszText : {"Mail", "Bank", "Secret"}) {
        EXPECT_EQ(bytes.find(pszText), std::string::npos) << pszText;
    }

    // A wrong password, then the right one.
    for (const auto& [pszPassword, systems] :
         {std::pair{"secret", std::vector<std::string>{}},
          std::pair{"Secret", std::vector<std::string>{"Mail", "Bank"}}}) {
        Command(ID_FILE_NEW);
        ScriptedUser user;
        user.ChooseFile(sealed).Dialog(IDD_PASSWORD).Type(IDC_PASSWORD, pszPassword).Click(IDOK);
        if (systems.empty()) {
            user.Answer(IDOK);
        }
        Command(ID_FILE_OPEN);
        EXPECT_EQ(user.FileDialogs()[0].qtFilter, "Keyloft Files (*.klt *.kltx);;All Files (*)");
        EXPECT_EQ(Systems(), systems);
        for (const auto& box : user.MessageBoxes()) {
            EXPECT_EQ(box.text, klt::LoadString(IDS_INVALID_PASSWORD_OR_DAMAGED));
        }
    }

    WritePasswordFile(File("other.klt"), "", {"Shop"});
    ASSERT_NE(m_pApp->OpenDocumentFile(File("other.klt")), nullptr);
    ScriptedUser user;
    user.ChooseFile(sealed).Dialog(IDD_PASSWORD).Type(IDC_PASSWORD, "Secret").Click(IDOK);
    user.Answer(IDOK); // merged
    Command(ID_FILE_MERGE);
    EXPECT_EQ(Systems(), (std::vector<std::string>{"Shop", "Mail", "Bank"}));
    EXPECT_EQ(Doc()->m_masterPassword.GetText(), "");
}
