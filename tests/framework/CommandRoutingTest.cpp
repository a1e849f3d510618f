// Commands reach their handlers through view, document, frame and application, and a command whose
// update rule reports it disabled never runs, whatever its source.

#include "framework/TestDocView.h"
#include "support/scripted/MenuProbe.h"

#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMimeData>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

using klt::testing::ProcessPendingEvents;
using klt::testing::ScriptedUser;

class CommandRoutingTest : public FrameworkTest {
protected:
    QAction* ToolbarButton(UINT nID) {
        for (QAction* pAction : m_pFrame->m_toolBar.GetToolBar()->actions()) {
            if (pAction->data().toUInt() == nID) {
                return pAction;
            }
        }
        return nullptr;
    }
    QAction* MenuItem(int nPopup, UINT nID) const {
        return klt::testing::MenuItemAsShown(*m_pFrame, nPopup, nID);
    }
};

TEST_F(CommandRoutingTest, AcceleratorOfADisabledCommandDoesNothing) {
    ShowFrame();
    m_pView->m_bCanDelete = false;
    QTest::keyClick(m_pFrame->GetWidget(), Qt::Key_D, Qt::ControlModifier);
    QTest::keyClick(m_pView->m_list.GetWidget(), Qt::Key_Delete);
    EXPECT_EQ(m_pView->m_nDeletes, 0);

    m_pView->m_bCanDelete = true;
    QTest::keyClick(m_pFrame->GetWidget(), Qt::Key_D, Qt::ControlModifier);
    QTest::keyClick(m_pView->m_list.GetWidget(), Qt::Key_Delete);
    EXPECT_EQ(m_pView->m_nDeletes, 2);
    // Enter, Alt+Enter and the keypad's Enter all mean Properties.
    QWidget* pList = m_pView->m_list.GetWidget();
    QTest::keyClick(pList, Qt::Key_Return);
    QTest::keyClick(pList, Qt::Key_Return, Qt::AltModifier);
    QTest::keyClick(pList, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(m_pView->m_nProperties, 3);
    // A command without an update rule is always enabled.
    QTest::keyClick(pList, Qt::Key_Insert);
    EXPECT_EQ(m_pView->m_nAdds, 1);
}

TEST_F(CommandRoutingTest, DisabledCommandNeverRunsFromAnySource) {
    m_pView->m_bCanDelete = false;
    m_pFrame->SendMessage(WM_COMMAND, ID_EDIT_DELETE); // a menu item, another instance
    m_pFrame->PostMessage(WM_COMMAND, ID_EDIT_DELETE); // a popup menu's choice
    ToolbarButton(ID_EDIT_DELETE)->trigger();          // a toolbar button, even when not greyed yet
    ProcessPendingEvents();
    EXPECT_EQ(m_pView->m_nDeletes, 0);
    m_pView->m_bCanDelete = true;
    m_pFrame->SendMessage(WM_COMMAND, ID_EDIT_DELETE);
    EXPECT_EQ(m_pView->m_nDeletes, 1);
}

TEST_F(CommandRoutingTest, MenusShowTheStatesOfTheUpdateRules) {
    m_pView->m_bCanDelete = false;
    EXPECT_FALSE(MenuItem(1, ID_EDIT_DELETE)->isEnabled());
    EXPECT_TRUE(MenuItem(1, ID_EDIT_ADD)->isEnabled());
    m_pView->m_bCanDelete = true;
    EXPECT_TRUE(MenuItem(1, ID_EDIT_DELETE)->isEnabled());
    // Commands nobody handles are greyed; the document handles Save, the application New.
    EXPECT_FALSE(MenuItem(2, ID_VIEW_OPTIONS)->isEnabled());
    EXPECT_TRUE(MenuItem(0, ID_FILE_SAVE)->isEnabled());
    EXPECT_TRUE(MenuItem(0, ID_FILE_NEW)->isEnabled());
    QAction* pToolbarItem = MenuItem(2, ID_VIEW_TOOLBAR);
    EXPECT_TRUE(pToolbarItem->isChecked());
    EXPECT_EQ(pToolbarItem->statusTip().toStdString(), "Show or hide the toolbar");
}

TEST_F(CommandRoutingTest, ToolbarButtonsFollowTheRulesAndCarryPromptAndToolTip) {
    EXPECT_EQ(
        m_pFrame->m_toolBar.GetButtonIds(),
        (std::vector<UINT>{ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_SEPARATOR, ID_EDIT_ADD, ID_EDIT_DELETE,
                           ID_EDIT_PROPERTIES, ID_SEPARATOR, ID_APP_ABOUT, ID_CONTEXT_HELP}));
    ShowFrame();
    m_pView->m_bCanDelete = false;
    m_pFrame->OnIdleUpdateCmdUI();
    EXPECT_FALSE(ToolbarButton(ID_EDIT_DELETE)->isEnabled());
    EXPECT_FALSE(ToolbarButton(ID_EDIT_PROPERTIES)->isEnabled());
    EXPECT_TRUE(ToolbarButton(ID_EDIT_ADD)->isEnabled());
    m_pView->m_bCanDelete = true;
    m_pFrame->OnIdleUpdateCmdUI();
    EXPECT_TRUE(ToolbarButton(ID_EDIT_DELETE)->isEnabled());
    EXPECT_EQ(ToolbarButton(ID_EDIT_DELETE)->toolTip().toStdString(), "Delete");
    EXPECT_EQ(ToolbarButton(ID_EDIT_DELETE)->statusTip().toStdString(), "Delete an entry");
    EXPECT_FALSE(ToolbarButton(ID_EDIT_ADD)->icon().isNull());
}

TEST_F(CommandRoutingTest, RoutingGoesThroughViewDocumentFrameAndApplication) {
    m_pFrame->SendMessage(WM_COMMAND, ID_APP_ABOUT);
    EXPECT_EQ(m_pApp->m_nAbouts, 1);
    m_pFrame->SendMessage(WM_COMMAND, ID_EDIT_ADD);
    EXPECT_EQ(m_pView->m_nAdds, 1);
    // The frame's own: the bar toggles.
    m_pFrame->SendMessage(WM_COMMAND, ID_VIEW_STATUS_BAR);
    EXPECT_TRUE(m_pFrame->m_statusBar.GetWidget()->isHidden());
    m_pFrame->SendMessage(WM_COMMAND, ID_VIEW_STATUS_BAR);
    EXPECT_FALSE(m_pFrame->m_statusBar.GetWidget()->isHidden());
}

TEST_F(CommandRoutingTest, PopupMenuShowsStatesAndSendsTheChosenCommandToItsOwner) {
    m_pView->m_bCanDelete = false;
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_CONTEXT_MENU));
    ScriptedUser user;
    user.ChooseCommand(ID_EDIT_ADD);
    menu.GetSubMenu(0)->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, 10, 10, m_pFrame);
    EXPECT_EQ(m_pView->m_nAdds, 0); // posted, as the platform does
    ProcessPendingEvents();
    EXPECT_EQ(m_pView->m_nAdds, 1);
    ASSERT_EQ(user.PopupMenus().size(), 1u);
    const auto& items = user.PopupMenus()[0];
    ASSERT_EQ(items.size(), 3u);
    EXPECT_EQ(items[0].text, "&Add\tCtrl+A");
    EXPECT_TRUE(items[0].bEnabled);
    EXPECT_FALSE(items[1].bEnabled);
    EXPECT_FALSE(items[2].bEnabled);
}

TEST_F(CommandRoutingTest, TrayMenuMarksItsDefaultItem) {
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_TRAYICON));
    CMenu* pPopup = menu.GetSubMenu(0);
    ASSERT_NE(pPopup, nullptr);
    EXPECT_EQ(pPopup->GetMenuItemCount(), 7u);
    EXPECT_EQ(pPopup->GetMenuItemID(3), 0u);
    ASSERT_TRUE(pPopup->SetDefaultItem(0, TRUE));
    ScriptedUser user;
    user.DismissMenu();
    EXPECT_EQ(pPopup->TrackPopupMenu(TPM_RETURNCMD, 0, 0, m_pFrame), 0);
    EXPECT_TRUE(user.PopupMenus()[0][0].bDefault);
    EXPECT_EQ(user.PopupMenus()[0][0].id, static_cast<UINT>(ID_TRAY_PASTE));
}

TEST_F(CommandRoutingTest, StatusBarShowsReadyAndTheLockIndicators) {
    bool bCapsOn = true;
    klt::SetKeyToggleQuery([&bCapsOn](WORD vk) { return vk == VK_CAPITAL && bCapsOn; });
    ShowFrame();
    m_pFrame->OnIdleUpdateCmdUI();
    EXPECT_EQ(m_pFrame->m_statusBar.GetMessageText(), "Ready");
    EXPECT_EQ(m_pFrame->m_statusBar.GetPaneText(1), "CAP");
    EXPECT_EQ(m_pFrame->m_statusBar.GetPaneText(2), "");
    bCapsOn = false;
    m_pFrame->OnIdleUpdateCmdUI();
    EXPECT_EQ(m_pFrame->m_statusBar.GetPaneText(1), "");
    m_pFrame->SetMessageText(ID_EDIT_ADD);
    EXPECT_EQ(m_pFrame->m_statusBar.GetMessageText(), "Add a new entry");
    m_pFrame->SetMessageText("");
    EXPECT_EQ(m_pFrame->m_statusBar.GetMessageText(), "Ready");
    klt::SetKeyToggleQuery({});
}

TEST_F(CommandRoutingTest, ClosingTheMainFrameAsksToSaveAndCancelKeepsItOpen) {
    ShowFrame();
    m_pDoc->m_lines = {"x"};
    m_pDoc->SetModifiedFlag();
    {
        ScriptedUser user;
        user.Answer(IDCANCEL);
        m_pFrame->GetWidget()->close();
        EXPECT_TRUE(m_pFrame->IsWindowVisible());
        EXPECT_EQ(m_pApp->m_pMainWnd, m_pFrame);
    }
    ScriptedUser user;
    user.Answer(IDNO);
    m_pFrame->SendMessage(WM_COMMAND, ID_APP_EXIT);
    EXPECT_FALSE(m_pFrame->IsWindowVisible());
    EXPECT_EQ(m_pApp->m_pMainWnd, nullptr);
    EXPECT_TRUE(m_pDoc->m_lines.empty()); // the document was closed
}

TEST_F(CommandRoutingTest, DroppedFilesAreOpenedAsTheDocument) {
    const std::string path = WriteDocFile("dropped.klt", {"d"});
    m_pFrame->DragAcceptFiles();
    EXPECT_TRUE(m_pFrame->GetWidget()->acceptDrops());
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(path))});
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m_pFrame->GetWidget(), &enter);
    ASSERT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(m_pFrame->GetWidget(), &drop);
    EXPECT_EQ(m_pDoc->GetPathName(), path);
    EXPECT_EQ(m_pDoc->m_lines, std::vector<std::string>{"d"});
}
