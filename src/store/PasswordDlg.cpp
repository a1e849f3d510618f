#include "PasswordDlg.h"

#include "MessageBox.h"

CPasswordDlg::CPasswordDlg(CWnd* pParentWnd)
    : CDialog(IDD_PASSWORD, pParentWnd), m_strPrompt(klt::LoadString(IDS_ENTER_PASSWORD)) {}

void CPasswordDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_PASSWORD, m_strPassword);
}

BOOL CPasswordDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetWindowText(m_strPrompt);
    // The question may come while another application is in front (a paste from the hot key).
    SetForegroundWindow();
    return TRUE; // the focus goes to the password field, the first tab stop
}
