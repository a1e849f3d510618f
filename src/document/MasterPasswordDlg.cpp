#include "document/MasterPasswordDlg.h"

#include "document/ConfirmPasswordDlg.h"
#include "framework/MessageBox.h"
#include "res/resource.h"
#include "store/PasswordFileWriter.h"
#include "store/SecretMemory.h"

CMasterPasswordDlg::CMasterPasswordDlg(CWnd* pParentWnd) : CDialog(IDD_MASTER_PASSWORD, pParentWnd) {}

CMasterPasswordDlg::~CMasterPasswordDlg() {
    for (std::string* pText : {&m_strPassword, &m_strOriginal, &m_strNew}) {
        klt::Wipe(*pText);
    }
}

void CMasterPasswordDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_ORIGINAL_PASSWORD, m_editOriginal);
    DDX_Control(pDX, IDC_NEW_PASSWORD, m_editNew);
    DDX_Text(pDX, IDC_ORIGINAL_PASSWORD, m_strOriginal);
    DDX_Text(pDX, IDC_NEW_PASSWORD, m_strNew);
}

BOOL CMasterPasswordDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    // An unprotected document accepts any new password: there is no original to type.
    if (m_strPassword.empty()) {
        m_editOriginal.EnableWindow(FALSE);
    }
    return TRUE; // the focus goes to the first enabled field
}

void CMasterPasswordDlg::OnOK() {
    if (!UpdateData(TRUE)) {
        return;
    }
    if (RefuseTooLong()) {
        return;
    }
    if (!m_strNew.empty()) {
        CConfirmPasswordDlg dlgConfirm(m_strNew, this);
        if (dlgConfirm.DoModal() != IDOK) {
            m_editNew.SetFocus();
            return;
        }
    }
    if (m_strOriginal == m_strPassword) {
        m_strPassword = m_strNew;
        EndDialog(IDOK);
    } else if (AfxMessageBox(IDS_ORIGINAL_INCORRECT, MB_RETRYCANCEL) != IDRETRY) {
        EndDialog(IDCANCEL);
    }
    // After Retry both fields are blank again, and the user starts over with the original password.
    klt::Wipe(m_strOriginal);
    klt::Wipe(m_strNew);
    UpdateData(FALSE);
    if (!IsEnding() && m_editOriginal.IsWindowEnabled()) {
        GotoDlgCtrl(&m_editOriginal);
    }
}

bool CMasterPasswordDlg::RefuseTooLong() {
    // A password file keeps the password's full length, but its reader takes at most 255 bytes of
    // it, so a longer password would lock the user out of the file for good.
    if (m_strNew.size() <= klt::kMaxMasterPasswordLength) {
        return false;
    }
    AfxMessageBox(IDS_PASSWORD_TOO_LONG, MB_ICONSTOP);
    GotoDlgCtrl(&m_editNew);
    return true;
}
