// Dialogs from their templates: layout, focus, default button, data exchange in both directions,
// notifications for the user's edits only, and the scripted user acting on them.

#include "framework/ControlWidgets.h"
#include "framework/TestDocView.h"

#include <QDialog>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest-spi.h>

using klt::testing::ScriptedUser;

namespace {

// An entry dialog in the manner of the program's: data members, a Reveal button, counts of the
// notifications of the user-name and password fields.
class EntryDlg : public CDialog {
public:
    EntryDlg() : CDialog(IDD_PROPERTIES) {
        MapNotify(BN_CLICKED, IDC_REVEAL, &EntryDlg::OnReveal);
        MapNotify(EN_CHANGE, IDC_PASSWORD, &EntryDlg::OnChangePassword);
        MapNotify(EN_KILLFOCUS, IDC_PASSWORD, &EntryDlg::OnKillFocusPassword);
        MapNotify(EN_CHANGE, IDC_USERNAME, &EntryDlg::OnChangeUserName);
    }

    std::string m_strSystem, m_strUserName, m_strPassword;
    int m_nDays = 0;
    int m_nPasswordChanges = 0, m_nPasswordLeft = 0, m_nUserNameChanges = 0;
    CEdit m_editPassword;

protected:
    void DoDataExchange(CDataExchange* pDX) override {
        DDX_Control(pDX, IDC_PASSWORD, m_editPassword);
        DDX_Text(pDX, IDC_PASSWORD, m_strPassword);
        DDX_Text(pDX, IDC_SYSTEM, m_strSystem);
        DDX_Text(pDX, IDC_USERNAME, m_strUserName);
        DDX_Text(pDX, IDC_DAYS, m_nDays);
    }
    void OnReveal() {
        m_editPassword.SetPasswordChar(static_cast<char>(m_editPassword.GetPasswordChar() ^ '*'));
    }
    void OnChangePassword() { ++m_nPasswordChanges; }
    void OnKillFocusPassword() {
        ++m_nPasswordLeft;
        UpdateData(TRUE); // as a restamp does: the data follows the fields while the dialog lives
        m_nDays = 0;
        UpdateData(FALSE);
    }
    void OnChangeUserName() { ++m_nUserNameChanges; }
};

// A dialog whose OK refuses an empty system name and keeps the dialog open.
class NameDlg : public CDialog {
public:
    NameDlg() : CDialog(IDD_NEW_ENTRY) {}
    std::string m_strSystem;

protected:
    void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, IDC_SYSTEM, m_strSystem); }
    void OnOK() override {
        UpdateData(TRUE);
        if (m_strSystem.empty()) {
            AfxMessageBox(IDS_NEED_SYSTEM_NAME, MB_ICONSTOP);
            GotoDlgCtrl(GetDlgItem(IDC_SYSTEM));
            return;
        }
        EndDialog(IDOK);
    }
};

QWidget* Control(CDialog& dialog, int nID) {
    return klt::FindControl(dialog.GetDialogWidget(), nID);
}

int FocusedId(CDialog& dialog) {
    QWidget* pFocus = dialog.GetDialogWidget()->focusWidget();
    return pFocus != nullptr ? klt::ControlId(pFocus) : 0;
}

} // namespace

TEST(Dialog, LayoutFollowsTheTemplateThroughTheFontsBaseUnits) {
    NameDlg dialog;
    ScriptedUser user;
    user.Dialog(IDD_NEW_ENTRY).Inspect([](CDialog& d) {
        QDialog* pWindow = d.GetDialogWidget();
        const QSize base = klt::DialogBaseUnits(pWindow->font());
        ASSERT_GT(base.width(), 0);
        EXPECT_EQ(pWindow->width(), (283 * base.width() + 2) / 4);
        EXPECT_EQ(pWindow->height(), (101 * base.height() + 4) / 8);
        EXPECT_EQ(Control(d, IDC_SYSTEM)->geometry(), klt::DialogUnitsToPixels(base, 7, 17, 202, 14));
        EXPECT_EQ(pWindow->windowTitle().toStdString(), "New entry");
        EXPECT_TRUE(static_cast<QPushButton*>(Control(d, IDOK))->isDefault());
        EXPECT_FALSE(static_cast<QPushButton*>(Control(d, IDCANCEL))->isDefault());
        // Tab order as in the template: system, user name, password, OK, Cancel.
        EXPECT_EQ(FocusedId(d), IDC_SYSTEM);
        std::vector<int> order;
        QWidget* pWidget = Control(d, IDC_SYSTEM);
        for (int i = 0; i < 5; ++i, pWidget = pWidget->nextInFocusChain()) {
            while (pWidget->focusPolicy() == Qt::NoFocus) {
                pWidget = pWidget->nextInFocusChain();
            }
            order.push_back(klt::ControlId(pWidget));
        }
        EXPECT_EQ(order, (std::vector<int>{IDC_SYSTEM, IDC_USERNAME, IDC_PASSWORD, IDOK, IDCANCEL}));
    });
    user.Escape();
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

TEST(Dialog, FirstFocusIsTheFirstTabStopUnlessInitialisationMovesIt) {
    EntryDlg entry;
    ScriptedUser user;
    user.Dialog(IDD_PROPERTIES).Inspect([](CDialog& d) { EXPECT_EQ(FocusedId(d), IDOK); }).Escape();
    entry.DoModal();

    class FocusingDlg : public NameDlg {
        BOOL OnInitDialog() override {
            CDialog::OnInitDialog();
            GotoDlgCtrl(GetDlgItem(IDC_PASSWORD));
            return FALSE;
        }
    } focusing;
    user.Dialog(IDD_NEW_ENTRY).Inspect([](CDialog& d) { EXPECT_EQ(FocusedId(d), IDC_PASSWORD); }).Escape();
    focusing.DoModal();
}

TEST(Dialog, DataExchangeFillsTheFieldsAndGivesBackUneditedBytesExactly) {
    EntryDlg dialog;
    dialog.m_strSystem = "Mail";
    dialog.m_strUserName = "J\xF6rg";       // Windows-1252, not UTF-8
    dialog.m_strPassword = "s\xC3\xA9same"; // UTF-8
    dialog.m_nDays = 12;
    ScriptedUser user;
    user.Dialog(IDD_PROPERTIES)
        .Inspect([](CDialog& d) {
            EXPECT_EQ(static_cast<QLineEdit*>(Control(d, IDC_USERNAME))->text(),
                      QString::fromUtf8("J\xC3\xB6rg"));
            EXPECT_EQ(static_cast<QLineEdit*>(Control(d, IDC_PASSWORD))->text(),
                      QString::fromUtf8("s\xC3\xA9same"));
            EXPECT_EQ(d.GetDlgItemText(IDC_DAYS), "12");
            EXPECT_FALSE(Control(d, IDC_DAYS)->isEnabled());
        })
        .Type(IDC_SYSTEM, "Post")
        .Click(IDOK);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_strSystem, "Post");
    EXPECT_EQ(dialog.m_strUserName, "J\xF6rg");
    EXPECT_EQ(dialog.m_strPassword, "s\xC3\xA9same");
}

TEST(Dialog, CancelLeavesTheDataAsItWas) {
    EntryDlg dialog;
    dialog.m_strSystem = "Mail";
    ScriptedUser user;
    user.Dialog(IDD_PROPERTIES).Type(IDC_SYSTEM, "Other").Click(IDCANCEL);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(dialog.m_strSystem, "Mail");
}

TEST(Dialog, ChangeNotificationsComeOnlyFromTheUsersEdits) {
    EntryDlg dialog;
    dialog.m_strPassword = "old";
    ScriptedUser user;
    user.Dialog(IDD_PROPERTIES)
        .Inspect([](CDialog& d) {
            d.SetDlgItemText(IDC_PASSWORD, "written by the program");
            d.UpdateData(FALSE);
            auto& entry = static_cast<EntryDlg&>(d);
            EXPECT_EQ(entry.m_nPasswordChanges, 0);
            EXPECT_EQ(entry.m_nUserNameChanges, 0);
            EXPECT_EQ(entry.m_nPasswordLeft, 0);
        })
        .Type(IDC_PASSWORD, "new")
        .Inspect([](CDialog& d) {
            auto& entry = static_cast<EntryDlg&>(d);
            EXPECT_GT(entry.m_nPasswordChanges, 0);
            EXPECT_EQ(entry.m_nUserNameChanges, 0);
            EXPECT_EQ(entry.m_nPasswordLeft, 0);
        })
        .Focus(IDC_USERNAME)
        .Inspect([](CDialog& d) { EXPECT_EQ(static_cast<EntryDlg&>(d).m_nPasswordLeft, 1); })
        .Click(IDCANCEL);
    dialog.DoModal();
}

TEST(Dialog, ClosingTakesTheFocusFromTheFieldWhileTheDataIsStillThere) {
    EntryDlg dialog;
    dialog.m_nDays = 40;
    ScriptedUser user;
    user.Dialog(IDD_PROPERTIES).Type(IDC_PASSWORD, "typed").Enter(); // Enter while the field has the focus
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_nPasswordLeft, 1);
    EXPECT_EQ(dialog.m_nDays, 0); // what the focus-loss handler did reached the data
    EXPECT_EQ(dialog.m_strPassword, "typed");
}

TEST(Dialog, PasswordMaskCanBeReadAndSwitched) {
    EntryDlg dialog;
    ScriptedUser user;
    user.Dialog(IDD_PROPERTIES)
        .Inspect([](CDialog& d) {
            auto& entry = static_cast<EntryDlg&>(d);
            EXPECT_EQ(entry.m_editPassword.GetPasswordChar(), '*');
            EXPECT_EQ(static_cast<QLineEdit*>(Control(d, IDC_PASSWORD))->echoMode(), QLineEdit::Password);
        })
        .Click(IDC_REVEAL)
        .Inspect([](CDialog& d) {
            EXPECT_EQ(static_cast<EntryDlg&>(d).m_editPassword.GetPasswordChar(), 0);
            EXPECT_EQ(static_cast<QLineEdit*>(Control(d, IDC_PASSWORD))->echoMode(), QLineEdit::Normal);
        })
        .Click(IDC_REVEAL)
        .Inspect(
            [](CDialog& d) { EXPECT_EQ(static_cast<EntryDlg&>(d).m_editPassword.GetPasswordChar(), '*'); })
        .Escape();
    dialog.DoModal();
    // Each opening starts from the template again.
    user.Dialog(IDD_PROPERTIES).Click(IDC_REVEAL).Escape();
    dialog.DoModal();
    user.Dialog(IDD_PROPERTIES)
        .Inspect(
            [](CDialog& d) { EXPECT_EQ(static_cast<EntryDlg&>(d).m_editPassword.GetPasswordChar(), '*'); })
        .Escape();
    dialog.DoModal();
}

TEST(Dialog, OkRuleCanKeepTheDialogOpenAndMoveTheFocus) {
    NameDlg dialog;
    ScriptedUser user;
    user.Dialog(IDD_NEW_ENTRY).Focus(IDC_PASSWORD).Click(IDOK);
    user.Answer(IDOK);
    user.Inspect([](CDialog& d) { EXPECT_EQ(FocusedId(d), IDC_SYSTEM); }).Type(IDC_SYSTEM, "Mail").Enter();
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_strSystem, "Mail");
    ASSERT_EQ(user.MessageBoxes().size(), 1u);
    EXPECT_EQ(user.MessageBoxes()[0].text, "You must enter a system name.");
    EXPECT_EQ(user.MessageBoxes()[0].Icon(), MB_ICONSTOP);
}

TEST(Dialog, EnterOnAFocusedButtonPressesThatButtonAndTheCloseBoxCancels) {
    NameDlg dialog;
    ScriptedUser user;
    user.Dialog(IDD_NEW_ENTRY).Type(IDC_SYSTEM, "x").Focus(IDCANCEL).Enter();
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    user.Dialog(IDD_NEW_ENTRY).Type(IDC_SYSTEM, "x").CloseBox();
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
}

TEST(Dialog, NumberThatIsNotANumberIsRefusedWithAMessage) {
    class DaysDlg : public CDialog {
    public:
        DaysDlg() : CDialog(IDD_NEW_ENTRY) {}
        int m_nValue = 5;

    protected:
        void DoDataExchange(CDataExchange* pDX) override { DDX_Text(pDX, IDC_USERNAME, m_nValue); }
    } dialog;
    ScriptedUser user;
    user.Dialog(IDD_NEW_ENTRY).Type(IDC_USERNAME, "12x").Click(IDOK);
    user.Answer(IDOK);
    user.Inspect([](CDialog& d) { EXPECT_EQ(FocusedId(d), IDC_USERNAME); })
        .Type(IDC_USERNAME, "-7")
        .Click(IDOK);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_nValue, -7);
    ASSERT_EQ(user.MessageBoxes().size(), 1u);
    EXPECT_EQ(user.MessageBoxes()[0].text, "Please enter an integer.");
}

TEST(Dialog, CheckBoxesAndMultiLineFieldsExchangeTheirData) {
    class ViewerDlg : public CDialog {
    public:
        ViewerDlg() : CDialog(IDD_README) {}
        int m_bShow = BST_CHECKED;
        std::string m_strText = "first line\r\n\tsecond line";
        CEdit m_edit;

    protected:
        void DoDataExchange(CDataExchange* pDX) override {
            DDX_Check(pDX, IDC_SHOW_README, m_bShow);
            DDX_Control(pDX, IDC_TEXT, m_edit);
            DDX_Text(pDX, IDC_TEXT, m_strText);
        }
    } dialog;
    ScriptedUser user;
    user.Dialog(IDD_README)
        .Inspect([](CDialog& d) {
            auto& viewer = static_cast<ViewerDlg&>(d);
            EXPECT_EQ(viewer.m_edit.GetLineCount(), 2);
            EXPECT_EQ(viewer.m_edit.GetLine(1), "\tsecond line");
            char buffer[5];
            EXPECT_EQ(viewer.m_edit.GetLine(0, buffer, 5), 5);
            EXPECT_EQ(std::string(buffer, 5), "first");
        })
        .Click(IDC_SHOW_README)
        .Focus(IDC_TEXT)
        .Enter(); // Enter in a multi-line field without ES_WANTRETURN presses the default button
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_bShow, BST_UNCHECKED);
    EXPECT_EQ(dialog.m_strText, "first line\r\n\tsecond line");
}

TEST(Dialog, HotKeyFieldShowsAndTakesKeyCombinations) {
    class HotKeyDlg : public CDialog {
    public:
        HotKeyDlg() : CDialog(IDD_OPTIONS) {}
        CHotKeyCtrl m_hotKey;
        WORD m_wKey = 0, m_wModifiers = 0;

    protected:
        BOOL OnInitDialog() override {
            CDialog::OnInitDialog();
            m_hotKey.SetHotKey(VK_INSERT, HOTKEYF_ALT | HOTKEYF_EXT);
            return TRUE;
        }
        void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, IDC_HOTKEY, m_hotKey); }
        void OnOK() override {
            m_hotKey.GetHotKey(m_wKey, m_wModifiers);
            CDialog::OnOK();
        }
    } dialog;
    ScriptedUser user;
    user.Dialog(IDD_OPTIONS)
        .Inspect([](CDialog& d) {
            EXPECT_EQ(static_cast<QLineEdit*>(Control(d, IDC_HOTKEY))->text().toStdString(), "Alt + Insert");
        })
        .Focus(IDC_HOTKEY)
        .Key(Qt::Key_F5, Qt::ControlModifier | Qt::ShiftModifier)
        .Click(IDOK);
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_wKey, VK_F1 + 4);
    EXPECT_EQ(dialog.m_wModifiers, HOTKEYF_CONTROL | HOTKEYF_SHIFT);

    // A key that types a character needs Ctrl or Alt: the field adds Alt.
    const struct {
        int key;
        Qt::KeyboardModifiers modifiers;
        WORD wKey, wModifiers;
    } keys[] = {
        {Qt::Key_K, Qt::NoModifier, 'K', HOTKEYF_ALT},
        {Qt::Key_Space, Qt::ShiftModifier, VK_SPACE, HOTKEYF_ALT | HOTKEYF_SHIFT},
        {Qt::Key_K, Qt::ControlModifier, 'K', HOTKEYF_CONTROL},
        {Qt::Key_Pause, Qt::NoModifier, VK_PAUSE, 0},
    };
    for (const auto& k : keys) {
        user.Dialog(IDD_OPTIONS).Focus(IDC_HOTKEY).Key(k.key, k.modifiers).Click(IDOK);
        dialog.DoModal();
        EXPECT_EQ(dialog.m_wKey, k.wKey);
        EXPECT_EQ(dialog.m_wModifiers, k.wModifiers) << k.key;
    }

    user.Dialog(IDD_OPTIONS).Focus(IDC_HOTKEY).Key(Qt::Key_Backspace).Click(IDOK);
    dialog.DoModal();
    EXPECT_EQ(dialog.m_wKey, 0);
    EXPECT_EQ(dialog.m_wModifiers, 0);
}

TEST(Dialog, ListBoxInADialogSortsAndReportsTheUsersChoice) {
    class PickDlg : public CDialog {
    public:
        PickDlg() : CDialog(IDD_PASTE) { MapNotify(LBN_DBLCLK, IDC_PASTE_LIST, &PickDlg::OnDoubleClick); }
        CListBox m_list;
        int m_nChosen = -2;
        int m_nDoubleClicks = 0;

    protected:
        BOOL OnInitDialog() override {
            CDialog::OnInitDialog();
            for (const char* name : {"zeta", "Alpha", "beta"}) {
                m_list.AddString(name);
            }
            m_list.SetCurSel(0);
            return TRUE;
        }
        void DoDataExchange(CDataExchange* pDX) override { DDX_Control(pDX, IDC_PASTE_LIST, m_list); }
        void OnDoubleClick() { ++m_nDoubleClicks; }
        void OnOK() override {
            m_nChosen = m_list.GetCurSel();
            EndDialog(IDOK);
        }
    } dialog;
    ScriptedUser user;
    user.Dialog(IDD_PASTE)
        .Inspect([](CDialog& d) { EXPECT_EQ(FocusedId(d), IDC_PASTE_LIST); })
        .ClickRow(IDC_PASTE_LIST, 2)
        .DoubleClickRow(IDC_PASTE_LIST, 2)
        .Enter(); // no default button: Enter means OK
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_nChosen, 2);
    EXPECT_EQ(dialog.m_nDoubleClicks, 1);
}

TEST(ScriptedUserTest, UnexpectedDialogFailsTheTestInsteadOfWaiting) {
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedUser user;
            NameDlg dialog;
            EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        },
        "opened, but the script expected nothing");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedUser user;
            user.Dialog(IDD_NEW_ENTRY).Type(IDC_SYSTEM, "x");
            NameDlg dialog;
            EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        },
        "is still open");
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedUser user;
            EXPECT_EQ(AfxMessageBox("Really?", MB_OKCANCEL), IDCANCEL);
        },
        "message box \"Really?\"");
}

TEST(Dialog, DialogOpenedFromAnotherBelongsToItAndRunsInsideItsHandler) {
    class ConfirmingDlg : public NameDlg {
        void OnOK() override {
            CDialog confirm(IDD_CONFIRM_PASSWORD);
            if (confirm.DoModal() == IDOK) {
                EndDialog(IDOK);
            }
        }
    } dialog;
    ScriptedUser user;
    QDialog* pOuter = nullptr;
    user.Dialog(IDD_NEW_ENTRY).Inspect([&pOuter](CDialog& d) { pOuter = d.GetDialogWidget(); }).Click(IDOK);
    user.Dialog(IDD_CONFIRM_PASSWORD).Inspect([&pOuter](CDialog& d) {
        EXPECT_EQ(d.GetDialogWidget()->parentWidget(), pOuter);
    });
    user.Click(IDCANCEL); // the confirmation is cancelled: the outer dialog stays open
    user.Click(IDOK);
    user.Dialog(IDD_CONFIRM_PASSWORD).Enter();
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(user.Dialogs(), (std::vector<UINT>{IDD_NEW_ENTRY, IDD_CONFIRM_PASSWORD, IDD_CONFIRM_PASSWORD}));
}

TEST(Dialog, FileAndPrintDialogsGoThroughTheSeam) {
    ScriptedUser user;
    user.ChooseFile("/nonexistent/startup").CancelFileDialog().PrintTo("/tmp/out.pdf");
    CFileDialog browse(TRUE, "KLT", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT,
                       "Keyloft Files (*.klt)| *.klt| All Files (*.*)| *.*||");
    ASSERT_EQ(browse.DoModal(), IDOK);
    EXPECT_EQ(browse.GetPathName(), "/nonexistent/startup.klt"); // typed without extension
    EXPECT_EQ(browse.GetFileName(), "startup.klt");
    EXPECT_EQ(user.FileDialogs()[0].qtFilter, "Keyloft Files (*.klt);;All Files (*)");
    EXPECT_EQ(user.FileDialogs()[0].defaultSuffix, "klt");
    EXPECT_EQ(browse.DoModal(), IDCANCEL);

    CPrintDialog print;
    ASSERT_EQ(print.DoModal(), IDOK);
    EXPECT_EQ(print.GetPrinter().outputFileName().toStdString(), "/tmp/out.pdf");
}
