#include "document/ConfirmPasswordDlg.h"

#include "framework/MessageBox.h"
#include "res/resource.h"
#include "store/SecretMemory.h"

CConfirmPasswordDlg::CConfirmPasswordDlg(std::string strPassword, CWnd* pParentWnd)
    : CDialog(IDD_CONFIRM_PASSWORD, pParentWnd), m_strPassword(std::move(strPassword)) {}

CConfirmPasswordDlg::~CConfirmPasswordDlg() {
    klt::Wipe(m_strPassword);
    klt::Wipe(m_strConfirm);
}

int CConfirmPasswordDlg::DoModal() {
    m_bMismatch = false;
    const int nResult = CDialog::DoModal();
    if (m_bMismatch) {
        AfxMessageBox(IDS_CONFIRM_MISMATCH, MB_ICONSTOP);
    }
    return nResult;
}

void CConfirmPasswordDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_CONFIRM, m_strConfirm);
}

void CConfirmPasswordDlg::OnOK() {
    if (!UpdateData(TRUE)) {
        return;
    }
    m_bMismatch = m_strConfirm != m_strPassword;
    EndDialog(m_bMismatch ? IDCANCEL : IDOK);
}
