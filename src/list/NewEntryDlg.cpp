#include "list/NewEntryDlg.h"

#include "document/ConfirmPasswordDlg.h"
#include "res/resource.h"

CNewEntryDlg::CNewEntryDlg(CWnd* pParentWnd) : CDialog(IDD_NEW_ENTRY, pParentWnd) {}

void CNewEntryDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_SYSTEM, m_editSystem);
    DDX_Control(pDX, IDC_PASSWORD, m_editPassword);
    DDX_Text(pDX, IDC_PASSWORD, m_strPassword);
    DDX_Text(pDX, IDC_SYSTEM, m_strSystem);
    DDX_Text(pDX, IDC_USERNAME, m_strUserName);
}

void CNewEntryDlg::OnOK() {
    if (!UpdateData(TRUE)) {
        return;
    }
    // A name of blanks only is a name; only an empty one is refused.
    if (m_strSystem.empty()) {
        AfxMessageBox(IDS_NEED_SYSTEM_NAME, MB_OK | MB_ICONSTOP);
        m_editSystem.SetFocus();
        return;
    }
    // The field never shows the password, so a typing error would go unnoticed.
    if (!m_strPassword.empty()) {
        CConfirmPasswordDlg confirm(m_strPassword, this);
        if (confirm.DoModal() != IDOK) {
            m_editPassword.SetFocus();
            return;
        }
    }
    EndDialog(IDOK);
}
