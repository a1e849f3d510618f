#include "framework/Dialog.h"

#include "framework/ControlWidgets.h"
#include "framework/Controls.h"
#include "framework/DialogWindow.h"
#include "framework/ForeignWnd.h"
#include "framework/ListBox.h"
#include "framework/ModalSeam.h"
#include "framework/ResourceTemplates.h"
#include "framework/WinApp.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <memory>
#include <vector>

// The objects that stand for the dialog's controls until the derived class attaches its own.
struct CDialog::Controls {
    std::vector<std::unique_ptr<CWnd>> standIns;
};

namespace {

std::unique_ptr<CWnd> StandInFor(klt::res::ControlKind kind) {
    using klt::res::ControlKind;
    switch (kind) {
    case ControlKind::edit:
        return std::make_unique<CEdit>();
    case ControlKind::pushButton:
    case ControlKind::checkBox:
    case ControlKind::groupBox:
        return std::make_unique<CButton>();
    case ControlKind::listBox:
        return std::make_unique<CListBox>();
    case ControlKind::hotKey:
        return std::make_unique<CHotKeyCtrl>();
    case ControlKind::staticText:
    case ControlKind::icon:
        break;
    }
    return std::make_unique<CStatic>();
}

} // namespace

CDialog::CDialog(UINT nIDTemplate, CWnd* pParentWnd) : m_nIDTemplate(nIDTemplate), m_pParentWnd(pParentWnd) {
    MapCommand(IDOK, &CDialog::OnOK);
    MapCommand(IDCANCEL, &CDialog::OnCancel);
}

CDialog::~CDialog() {
    DestroyDialogWindow();
}

QDialog* CDialog::GetDialogWidget() const {
    return qobject_cast<QDialog*>(GetWidget());
}

BOOL CDialog::CreateFromTemplate() {
    const klt::res::DialogTemplate* pTemplate = klt::AfxGetResources().FindDialog(m_nIDTemplate);
    if (pTemplate == nullptr) {
        return FALSE;
    }
    // Without a parent the dialog belongs to the dialog open now (one dialog opened from another),
    // else to the main window. One that belongs to another program's window is a top-level window
    // of ours, transient for that window.
    auto* pForeignOwner = dynamic_cast<CForeignWnd*>(m_pParentWnd);
    QWidget* pParent = nullptr;
    if (pForeignOwner != nullptr) {
        pParent = nullptr;
    } else if (m_pParentWnd != nullptr && m_pParentWnd->GetWidget() != nullptr) {
        pParent = m_pParentWnd->GetWidget()->window();
    } else if (QWidget* pModal = QApplication::activeModalWidget()) {
        pParent = pModal;
    } else if (CWnd* pMain = AfxGetMainWnd(); pMain != nullptr && pMain->GetWidget() != nullptr) {
        pParent = pMain->GetWidget()->window();
    }
    auto* pWindow = new klt::DialogWindow(*pTemplate, pParent);
    if (pForeignOwner != nullptr) {
        pForeignOwner->OwnTopLevel(pWindow);
    }
    Attach(pWindow);
    m_pControls = std::make_unique<Controls>();
    for (const klt::res::ControlTemplate& control : pTemplate->controls) {
        if (control.id == IDC_STATIC) {
            continue;
        }
        std::unique_ptr<CWnd> pStandIn = StandInFor(control.kind);
        if (pStandIn->SubclassDlgItem(static_cast<UINT>(control.id), this)) {
            m_pControls->standIns.push_back(std::move(pStandIn));
        }
    }
    return TRUE;
}

void CDialog::DestroyDialogWindow() {
    QWidget* pWindow = GetWidget();
    Detach();
    delete pWindow; // the controls go with it; the stand-ins then hold nothing
    m_pControls.reset();
}

int CDialog::DoModal() {
    DestroyDialogWindow();
    if (!CreateFromTemplate()) {
        return -1;
    }
    m_bEnding = false;
    m_nModalResult = -1;
    if (OnInitDialog() && !m_bEnding) {
        SetInitialFocus();
    }
    if (!m_bEnding) {
        klt::CurrentModalSeam().RunDialog(*this);
    }
    const int nResult = m_bEnding ? m_nModalResult : IDCANCEL;
    DestroyDialogWindow();
    m_bEnding = false;
    return nResult;
}

BOOL CDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CDialog::OnOK() {
    if (!UpdateData(TRUE)) {
        return;
    }
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

void CDialog::EndDialog(int nResult) {
    m_bEnding = true;
    m_nModalResult = nResult;
    QDialog* pWindow = GetDialogWidget();
    if (pWindow == nullptr) {
        return;
    }
    // The control with the focus loses it now, while the dialog still exists, so that what it
    // does on losing the focus still reaches the dialog's data.
    if (QWidget* pFocus = pWindow->focusWidget(); pFocus != nullptr && pFocus->hasFocus()) {
        pFocus->clearFocus();
    }
    pWindow->done(nResult);
}

BOOL CDialog::UpdateData(BOOL bSaveAndValidate) {
    if (GetWidget() == nullptr) {
        return FALSE;
    }
    CDataExchange dx(this, bSaveAndValidate);
    try {
        DoDataExchange(&dx);
    } catch (const klt::DataExchangeFailure&) {
        return FALSE;
    }
    return TRUE;
}

void CDialog::DoDataExchange(CDataExchange*) {}

void CDialog::GotoDlgCtrl(CWnd* pWndCtrl) {
    if (pWndCtrl == nullptr || pWndCtrl->GetWidget() == nullptr) {
        return;
    }
    QWidget* pWidget = pWndCtrl->GetWidget();
    pWidget->setFocus(Qt::TabFocusReason);
    if (auto* pEdit = qobject_cast<QLineEdit*>(pWidget)) {
        // All of it selected with the cursor at the start, so a long text shows its beginning.
        const auto nLength = static_cast<int>(pEdit->text().size());
        pEdit->setSelection(nLength, -nLength);
    } else if (auto* pText = qobject_cast<QPlainTextEdit*>(pWidget)) {
        pText->selectAll();
    }
}

void CDialog::SetInitialFocus() {
    const klt::res::DialogTemplate* pTemplate = klt::AfxGetResources().FindDialog(m_nIDTemplate);
    for (const klt::res::ControlTemplate& control : pTemplate->controls) {
        if ((control.style & WS_TABSTOP) == 0 || control.id == IDC_STATIC) {
            continue;
        }
        CWnd* pControl = GetDlgItem(control.id);
        if (pControl != nullptr && pControl->IsWindowEnabled() && !pControl->GetWidget()->isHidden()) {
            GotoDlgCtrl(pControl);
            return;
        }
    }
}
