// The main window around the entry list: its bars, the states of its menus and buttons, its keys,
// and closing it.

#include "frame/MainFrame.h"

#include "framework/DialogWindow.h"
#include "list/ListFixture.h"
#include "support/scripted/MenuProbe.h"

#include <QAction>
#include <QApplication>
#include <QFileInfo>
#include <QLabel>
#include <QListView>
#include <QMenu>
#include <QStatusBar>
#include <QTest>
#include <QToolBar>

class MainFrameTest : public ListTest {
protected:
    std::function<std::unique_ptr<CFrameWnd>()> FrameFactory() const override {
        return klt::Factory<CMainFrame, CFrameWnd>();
    }

    CToolBar& ToolBar() const { return *dynamic_cast<CToolBar*>(m_pFrame->GetControlBar(AFX_IDW_TOOLBAR)); }
    CStatusBar& StatusBar() const {
        return *dynamic_cast<CStatusBar*>(m_pFrame->GetControlBar(AFX_IDW_STATUS_BAR));
    }
    QAction* Button(UINT nID) const {
        for (QAction* pAction : ToolBar().GetToolBar()->actions()) {
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

TEST_F(MainFrameTest, ToolbarAndStatusBarCarryTheirButtonsAndIndicators) {
    EXPECT_EQ(
        ToolBar().GetButtonIds(),
        (std::vector<UINT>{ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_SEPARATOR, ID_EDIT_ADD, ID_EDIT_DELETE,
                           ID_EDIT_PROPERTIES, ID_SEPARATOR, ID_APP_ABOUT, ID_CONTEXT_HELP}));
    for (const UINT nID : ToolBar().GetButtonIds()) {
        if (nID != ID_SEPARATOR) {
            EXPECT_FALSE(Button(nID)->icon().isNull()) << nID;
            EXPECT_FALSE(Button(nID)->toolTip().isEmpty()) << nID;
        }
    }
    EXPECT_EQ(Button(ID_EDIT_PROPERTIES)->toolTip().toStdString(), "Properties");
    EXPECT_EQ(Button(ID_EDIT_PROPERTIES)->statusTip().toStdString(), "Edit the properties of an entry");

    bool bNumOn = true;
    klt::SetKeyToggleQuery([&bNumOn](WORD vk) { return vk == VK_SCROLL || (vk == VK_NUMLOCK && bNumOn); });
    m_pFrame->OnIdleUpdateCmdUI();
    EXPECT_EQ(StatusBar().GetPaneCount(), 4);
    EXPECT_EQ(StatusBar().GetMessageText(), "Ready");
    EXPECT_EQ(StatusBar().GetPaneText(1), "");
    EXPECT_EQ(StatusBar().GetPaneText(2), "NUM");
    EXPECT_EQ(StatusBar().GetPaneText(3), "SCRL");
    bNumOn = false;
    m_pFrame->OnIdleUpdateCmdUI();
    EXPECT_EQ(StatusBar().GetPaneText(2), "");
    klt::SetKeyToggleQuery({});
}

TEST_F(MainFrameTest, MenusAndButtonsFollowTheCurrentEntry) {
    Fill({"a", "b"});
    m_pFrame->OnIdleUpdateCmdUI();
    EXPECT_FALSE(MenuItem(1, ID_EDIT_DELETE)->isEnabled());
    EXPECT_FALSE(MenuItem(1, ID_EDIT_PROPERTIES)->isEnabled());
    EXPECT_TRUE(MenuItem(1, ID_EDIT_ADD)->isEnabled());
    EXPECT_FALSE(Button(ID_EDIT_DELETE)->isEnabled());
    EXPECT_FALSE(Button(ID_EDIT_PROPERTIES)->isEnabled());
    EXPECT_TRUE(Button(ID_EDIT_ADD)->isEnabled());

    ClickRow(1);
    m_pFrame->OnIdleUpdateCmdUI();
    EXPECT_TRUE(MenuItem(1, ID_EDIT_DELETE)->isEnabled());
    EXPECT_TRUE(MenuItem(1, ID_EDIT_PROPERTIES)->isEnabled());
    EXPECT_TRUE(Button(ID_EDIT_DELETE)->isEnabled());
    EXPECT_TRUE(Button(ID_EDIT_PROPERTIES)->isEnabled());

    // The caret stays, the mark goes: no current entry again.
    ClickRow(1, Qt::ControlModifier);
    m_pFrame->OnIdleUpdateCmdUI();
    EXPECT_FALSE(Button(ID_EDIT_DELETE)->isEnabled());
    EXPECT_FALSE(MenuItem(1, ID_EDIT_PROPERTIES)->isEnabled());
}

TEST_F(MainFrameTest, EveryOtherMenuItemIsThereAndEnabled) {
    const std::vector<std::vector<UINT>> menus{
        {ID_FILE_NEW, ID_FILE_OPEN, ID_FILE_SAVE, ID_FILE_SAVE_AS, ID_FILE_MERGE, ID_FILE_PASSWORD,
         ID_APP_EXIT},
        {ID_EDIT_ADD},
        {ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR},
        {ID_HELP_FINDER}, // the application object carries out the other Help and View commands
    };
    for (size_t nPopup = 0; nPopup < menus.size(); ++nPopup) {
        for (const UINT nID : menus[nPopup]) {
            QAction* pItem = MenuItem(static_cast<int>(nPopup), nID);
            ASSERT_NE(pItem, nullptr) << nID;
            EXPECT_TRUE(pItem->isEnabled()) << nID;
        }
    }
    // Nothing recent yet: the place of the list shows "Recent File", disabled.
    QAction* pRecent = MenuItem(0, ID_FILE_MRU_FILE1);
    ASSERT_NE(pRecent, nullptr);
    EXPECT_FALSE(pRecent->isEnabled());
}

TEST_F(MainFrameTest, KeysReachTheEntryCommands) {
    Fill({"a", "b"});
    ClickRow(0);
    m_user.Dialog(IDD_NEW_ENTRY).Click(IDCANCEL);  // Insert
    m_user.Dialog(IDD_PROPERTIES).Click(IDCANCEL); // Enter
    m_user.Dialog(IDD_PROPERTIES).Click(IDCANCEL); // Ctrl+P
    m_user.Answer(IDCANCEL);                       // Delete
    m_user.Answer(IDOK);                           // Ctrl+D
    // Keys act on the active window: after each dialog the main window comes back first, as the
    // window manager would bring it.
    const auto press = [this](Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        m_pFrame->SetForegroundWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(m_pFrame->GetWidget()));
        QTest::keyClick(ListWidget(), key, modifiers);
    };
    press(Qt::Key_Insert);
    press(Qt::Key_Return);
    press(Qt::Key_P, Qt::ControlModifier);
    press(Qt::Key_Delete);
    press(Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(Rows(), std::vector<std::string>{"b"});
    EXPECT_EQ(m_user.Dialogs(), (std::vector<UINT>{IDD_NEW_ENTRY, IDD_PROPERTIES, IDD_PROPERTIES}));
    // Shift+F10 as the Menu key; F10 opens the menu bar's first menu.
    m_user.DismissMenu();
    press(Qt::Key_F10, Qt::ShiftModifier);
    EXPECT_EQ(m_user.PopupMenus().size(), 1u);
    press(Qt::Key_F10, Qt::NoModifier);
    ASSERT_NE(QApplication::activePopupWidget(), nullptr);
    EXPECT_EQ(QApplication::activePopupWidget(), m_pFrame->GetMenu()->GetSubMenu(0)->GetQMenu());
    QApplication::activePopupWidget()->close();
}

TEST_F(MainFrameTest, ClosingAModifiedDocumentAsksFirstAndThenEndsTheProgram) {
    Fill({"a"});
    m_pDoc->SetModifiedFlag();
    // Yes, then cancelling the master-password question of the first save: nothing is saved, so
    // the window stays.
    const std::string path = PathOf("new.klt");
    m_user.Answer(IDYES);
    m_user.ChooseFile(path);
    m_user.Dialog(IDD_MASTER_PASSWORD).Click(IDCANCEL);
    m_user.Answer(IDOK); // "Your file was not saved."
    m_pFrame->GetWidget()->close();
    EXPECT_EQ(m_user.MessageBoxes()[0].text, "Save changes to " + m_pDoc->GetTitle() + "?");
    EXPECT_EQ(m_pApp->m_pMainWnd, m_pFrame);
    EXPECT_TRUE(m_pFrame->IsWindowVisible());
    EXPECT_TRUE(m_pDoc->IsModified());
    EXPECT_FALSE(QFileInfo::exists(QString::fromStdString(path)));
    EXPECT_EQ(m_user.MessageBoxes().back().text, "Your file was not saved.");

    // File Exit does what closing does; No ends the program without saving.
    m_user.Answer(IDNO);
    Command(ID_APP_EXIT);
    EXPECT_EQ(m_pApp->m_pMainWnd, nullptr);
    EXPECT_FALSE(m_pFrame->IsWindowVisible());
}

TEST_F(MainFrameTest, OpensWideEnoughForItsDialogsAndPromptsAndKeepsItsPlaceAndBarsWhenPutAway) {
    QWidget* pWindow = m_pFrame->GetWidget();
    pWindow->resize(m_pFrame->GetDefaultSize()); // the fixture's frame is smaller
    m_pFrame->ShowWindow(SW_SHOW);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(pWindow));
    for (const klt::res::DialogTemplate& dialogTemplate : klt::AfxGetResources().AllDialogs()) {
        EXPECT_GE(pWindow->width(), klt::DialogWindow(dialogTemplate, nullptr).width()) << dialogTemplate.id;
    }
    const QWidget* pCaps = StatusBar().GetStatusBar()->findChildren<QLabel*>().at(1); // the first indicator
    for (const UINT nID : ToolBar().GetButtonIds()) {
        const QString prompt = nID != ID_SEPARATOR ? Button(nID)->statusTip() : QString();
        EXPECT_LT(pCaps->fontMetrics().horizontalAdvance(prompt) + 12, pCaps->x()) << prompt.toStdString();
    }
    pWindow->setGeometry(40, 50, 700, 500);
    Command(ID_VIEW_TOOLBAR);
    for (const int nShow : {SW_SHOWNORMAL, SW_SHOWMAXIMIZED}) {
        m_pFrame->ShowWindow(nShow);
        m_pFrame->ShowWindow(SW_HIDE);
        CMainFrame next;
        next.LoadFrame(IDR_MAINFRAME);
        next.LoadWindowState();
        EXPECT_EQ(next.GetWidget()->isMaximized(), nShow == SW_SHOWMAXIMIZED);
        EXPECT_EQ(next.GetWidget()->normalGeometry().size(), QSize(700, 500));
        EXPECT_TRUE(next.GetControlBar(AFX_IDW_TOOLBAR)->GetWidget()->isHidden());
    }
}
