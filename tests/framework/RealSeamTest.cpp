// The program's own modal loops (no scripted user): a dialog runs until EndDialog, a message box
// answers with the button clicked, a popup menu with the item chosen. A watchdog closes whatever is
// still open after a few seconds, so a broken loop fails instead of hanging.

#include "framework/ControlWidgets.h"
#include "framework/Framework.h"
#include "res/resource.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class RealSeam : public ::testing::Test {
protected:
    void SetUp() override {
        m_pPrevious = klt::InstallModalSeam(nullptr);
        m_watchdog.setSingleShot(true);
        m_watchdog.start(5000);
        QObject::connect(&m_watchdog, &QTimer::timeout, [] {
            if (QWidget* pPopup = QApplication::activePopupWidget()) {
                pPopup->close();
            }
            if (QWidget* pModal = QApplication::activeModalWidget()) {
                pModal->close();
            }
        });
    }
    void TearDown() override { klt::InstallModalSeam(m_pPrevious); }

    // Runs pAct on the modal window once the loop has shown it.
    template <class Act> static void WhenShown(Act act) {
        QTimer::singleShot(0, qApp, [act] {
            QWidget* pWidget = QApplication::activePopupWidget();
            if (pWidget == nullptr) {
                pWidget = QApplication::activeModalWidget();
            }
            ASSERT_NE(pWidget, nullptr);
            act(pWidget);
        });
    }

    klt::ModalSeam* m_pPrevious = nullptr;
    QTimer m_watchdog; // stops with the test
};

class ConfirmDlg : public CDialog {
public:
    ConfirmDlg() : CDialog(IDD_CONFIRM_PASSWORD) {}
    std::string m_strConfirm;

protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, IDC_CONFIRM, m_strConfirm); }
};

} // namespace

TEST_F(RealSeam, DialogRunsUntilEndDialogAndExchangesItsData) {
    WhenShown([](QWidget* pDialog) {
        QTest::keyClicks(klt::FindControl(pDialog, IDC_CONFIRM), "abc");
        QTest::keyClick(klt::FindControl(pDialog, IDC_CONFIRM), Qt::Key_Return);
    });
    ConfirmDlg dialog;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_strConfirm, "abc");

    WhenShown([](QWidget* pDialog) { QTest::keyClick(pDialog, Qt::Key_Escape); });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

TEST_F(RealSeam, MessageBoxAnswersWithTheButtonClicked) {
    WhenShown([](QWidget* pBox) {
        auto* pMessageBox = qobject_cast<QMessageBox*>(pBox);
        ASSERT_NE(pMessageBox, nullptr);
        EXPECT_EQ(pMessageBox->windowTitle().toStdString(), "Keyloft");
        EXPECT_EQ(pMessageBox->icon(), QMessageBox::Warning);
        pMessageBox->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(AfxMessageBox("Save changes to a.klt?", MB_YESNOCANCEL), IDNO);

    WhenShown([](QWidget* pBox) { QTest::keyClick(pBox, Qt::Key_Escape); });
    EXPECT_EQ(AfxMessageBox(IDS_ORIGINAL_INCORRECT, MB_RETRYCANCEL), IDCANCEL);

    WhenShown([](QWidget* pBox) { QTest::keyClick(pBox, Qt::Key_Return); });
    EXPECT_EQ(AfxMessageBox(IDS_DELETE_MARKED, MB_OKCANCEL), IDOK); // OK is the default button
}

TEST_F(RealSeam, PopupMenuReturnsTheChosenCommand) {
    CMenu menu;
    ASSERT_TRUE(menu.LoadMenu(IDR_TRAYICON));
    WhenShown([](QWidget* pPopup) {
        auto* pMenu = qobject_cast<QMenu*>(pPopup);
        ASSERT_NE(pMenu, nullptr);
        for (QAction* pAction : pMenu->actions()) {
            if (pAction->data().toUInt() == ID_TRAY_ADD) {
                pMenu->setActiveAction(pAction);
            }
        }
        QTest::keyClick(pMenu, Qt::Key_Return);
    });
    EXPECT_EQ(menu.GetSubMenu(0)->TrackPopupMenu(TPM_RETURNCMD, 20, 20, nullptr),
              static_cast<BOOL>(ID_TRAY_ADD));
}

TEST_F(RealSeam, DialogsAndMessageBoxesOfAHiddenOwnerOpenInTheMiddleOfTheScreen) {
    QWidget owner; // the main window before the start-up file is open: at 0, 0 and never shown
    owner.resize(480, 420);
    CWinApp app;
    CWnd main;
    main.Attach(&owner);
    app.m_pMainWnd = &main;
    for (int i = 0; i < 2; ++i) {
        WhenShown([](QWidget* pWindow) {
            EXPECT_LE((pWindow->geometry().center() - pWindow->screen()->availableGeometry().center())
                          .manhattanLength(),
                      4);
            QTest::keyClick(pWindow, Qt::Key_Escape);
        });
        i == 0 ? AfxMessageBox("Keyloft has created DEFAULT.KLT.", MB_OK) : ConfirmDlg().DoModal();
    }
    app.m_pMainWnd = nullptr;
}
