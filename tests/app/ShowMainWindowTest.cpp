// Bringing the main window up with the last file: at start, on Configure and for dropped files.

#include "app/AppTestSupport.h"
#include "frame/TrayIcon.h"
#include "framework/RecentFileList.h"
#include "support/scripted/ScriptedUser.h"

#include <QCoreApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>

namespace fs = std::filesystem;
using klt::testing::AppTest;
using klt::testing::ReadSetting;
using klt::testing::ScriptedUser;
using klt::testing::WritePasswordFile;
using klt::testing::WriteSetting;

class ShowMainWindowTest : public AppTest {};

TEST_F(ShowMainWindowTest, TrayModeOpensNothingUntilConfigure) {
    WritePasswordFile(File("a.klt"), "pw", {"Mail"});
    Start({"/s", "a.klt"});
    EXPECT_FALSE(Frame()->IsWindowVisible());
    EXPECT_EQ(Doc()->GetPathName(), "");

    ScriptedUser user;
    user.Dialog(IDD_PASSWORD).Type(IDC_PASSWORD, "pw").Click(IDOK);
    Configure();
    EXPECT_EQ(user.Dialogs(), std::vector<UINT>{IDD_PASSWORD});
    EXPECT_EQ(Doc()->GetPathName(), File("a.klt"));
    EXPECT_TRUE(Frame()->IsWindowVisible());
    EXPECT_FALSE(Frame()->IsIconic());
    EXPECT_EQ(m_pApp->m_nSuppressActivate, 0);

    // Already open, under another spelling of its path: shown again without a second password question.
    WriteSetting("Settings/Last File", File("sub/../a.klt"));
    fs::create_directories(m_folder / "sub");
    Frame()->ShowWindow(SW_HIDE);
    Configure();
    EXPECT_TRUE(Frame()->IsWindowVisible());
    EXPECT_EQ(user.Dialogs().size(), 1u);
}

TEST_F(ShowMainWindowTest, AnotherFileIsOpenedOnlyAfterTheSaveQuestion) {
    WritePasswordFile(File("a.klt"), "", {"Mail"});
    WritePasswordFile(File("b.klt"), "pw", {"Bank", "Shop"});
    Start({"a.klt"});
    Doc()->SetModifiedFlag();
    WriteSetting("Settings/Last File", File("b.klt")); // as a second start records it

    ScriptedUser user;
    user.Answer(IDCANCEL);
    Configure();
    ASSERT_EQ(user.MessageBoxes().size(), 1u);
    EXPECT_EQ(user.MessageBoxes()[0].text, "Save changes to a.klt?");
    EXPECT_EQ(Doc()->GetPathName(), File("a.klt"));
    EXPECT_EQ(m_pApp->m_nSuppressActivate, 0);

    user.Answer(IDNO);
    user.Dialog(IDD_PASSWORD).Type(IDC_PASSWORD, "pw").Click(IDOK);
    Configure();
    EXPECT_EQ(Doc()->GetPathName(), File("b.klt"));
    EXPECT_EQ(Doc()->m_entryList.size(), 2u);
    EXPECT_EQ(Frame()->GetWindowText(), "b.klt - Keyloft");
    EXPECT_EQ(m_pApp->m_nSuppressActivate, 0);
}

TEST_F(ShowMainWindowTest, FileThatCannotBeOpenedLeavesTheWindowHiddenAndIsTriedAgain) {
    klt::SetTrayHostQuery([] { return true; }); // else the failed start shows the window anyway
    ScriptedUser user;
    user.Answer(IDOK); // the open's complaint
    Start({"/n", "later.klt"});
    ASSERT_EQ(user.MessageBoxes().size(), 1u);
    EXPECT_FALSE(Frame()->IsWindowVisible());
    // The skip meant for the failed open must not swallow a later activation.
    EXPECT_EQ(m_pApp->m_nSuppressActivate, 0);

    user.Dialog(IDD_PASSWORD).Click(IDCANCEL);
    WritePasswordFile(File("later.klt"), "pw", {"Mail"});
    EXPECT_FALSE(m_pApp->ShowMainWindow(SW_SHOW));
    EXPECT_FALSE(Frame()->IsWindowVisible());

    user.Dialog(IDD_PASSWORD).Type(IDC_PASSWORD, "pw").Click(IDOK);
    EXPECT_TRUE(m_pApp->ShowMainWindow(SW_SHOWMINIMIZED));
    EXPECT_TRUE(Frame()->IsIconic());
    EXPECT_EQ(Doc()->GetPathName(), File("later.klt"));
    // Configure restores a minimised window.
    Configure();
    EXPECT_FALSE(Frame()->IsIconic());
    EXPECT_EQ(m_pApp->m_nSuppressActivate, 0);
    klt::SetTrayHostQuery({});
}

TEST_F(ShowMainWindowTest, DroppedFilesAreOpenedOneAfterTheOther) {
    WritePasswordFile(File("a.klt"), "", {"Mail"});
    WritePasswordFile(File("b.klt"), "pw", {"Bank"});
    WritePasswordFile(File("c.klt"), "", {"Shop", "Car"});
    Start({"a.klt"});
    QWidget* pWindow = Frame()->GetWidget();
    ASSERT_TRUE(pWindow->acceptDrops());

    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(QString::fromStdString(File("b.klt"))),
                  QUrl::fromLocalFile(QString::fromStdString(File("c.klt")))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(pWindow, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    ScriptedUser user;
    user.Dialog(IDD_PASSWORD).Type(IDC_PASSWORD, "pw").Click(IDOK);
    QCoreApplication::sendEvent(pWindow, &drop);

    EXPECT_EQ(Doc()->GetPathName(), File("c.klt"));
    EXPECT_EQ(Doc()->m_entryList.size(), 2u);
    EXPECT_EQ(ReadSetting("Settings/Last File"), File("c.klt"));
    CRecentFileList* pRecent = m_pApp->GetRecentFileList();
    ASSERT_NE(pRecent, nullptr);
    ASSERT_GE(pRecent->GetCount(), 3);
    EXPECT_EQ((*pRecent)[0], File("c.klt"));
    EXPECT_EQ((*pRecent)[1], File("b.klt"));
}

TEST_F(ShowMainWindowTest, SettingsReadsSeeWhatAnotherProcessWroteMeanwhile) {
    WritePasswordFile(File("a.klt"), "");
    Start({"/s", "a.klt"});
    EXPECT_EQ(m_pApp->GetProfileString("Settings", "Last File", ""), File("a.klt"));
    WriteSetting("Settings/Last File", File("b.klt"));
    WriteSetting("Settings/HWND", "42");
    EXPECT_EQ(m_pApp->GetProfileString("Settings", "Last File", ""), File("b.klt"));
    EXPECT_EQ(m_pApp->GetProfileInt("Settings", "HWND", 0), 42u);
}
