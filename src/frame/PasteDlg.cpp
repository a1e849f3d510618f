#include "frame/PasteDlg.h"

#include "document/KLTDoc.h"
#include "list/DocumentEntries.h"
#include "res/resource.h"

CPasteDlg::CPasteDlg(CForeignWnd* pTarget, klt::IWindowSystem& windows)
    : CDialog(IDD_PASTE, pTarget), m_strPasteTo(windows.WindowTitle(pTarget->GetForeignHwnd())) {
    MapNotify(BN_CLICKED, IDC_PASTE_USERNAME, &CPasteDlg::OnPasteUsername);
    MapNotify(BN_CLICKED, IDC_PASTE_PASSWORD, &CPasteDlg::OnPastePassword);
    MapNotify(BN_CLICKED, IDC_PASTE_CLOSE, &CPasteDlg::OnCloseButton);
}

void CPasteDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_PASTE_LIST, m_listBox);
    DDX_Text(pDX, IDC_PASTE_TO, m_strPasteTo);
}

BOOL CPasteDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    // On the screen's centre, not the target's: the target may be anywhere, even off the screen.
    CenterWindow();
    m_listBox.SetRows(m_pDoc != nullptr ? klt::EntryRows(*m_pDoc) : std::vector<klt::ListRow>());
    m_listBox.SetCurSel(m_nSel);
    return TRUE; // the focus goes to the list, the first tab stop
}

void CPasteDlg::Paste(std::string QMPassword::*pField) {
    const int nSel = m_listBox.GetCurSel();
    if (nSel == LB_ERR) {
        return;
    }
    if (void* pData = m_listBox.GetItemDataPtr(nSel);
        pData != nullptr && pData != reinterpret_cast<void*>(-1)) {
        m_strText = static_cast<QMPassword*>(pData)->*pField;
    }
    UpdateData(TRUE);
    m_nSel = nSel;
    EndDialog(IDOK);
}

void CPasteDlg::OnPasteUsername() {
    Paste(&QMPassword::m_strUserName);
}

void CPasteDlg::OnPastePassword() {
    Paste(&QMPassword::m_strPassword);
}

void CPasteDlg::OnCloseButton() {
    m_nSel = m_listBox.GetCurSel();
    EndDialog(IDCANCEL);
}
