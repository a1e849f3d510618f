#include "document/PasswordDlg.h"

#include "framework/MessageBox.h"
#include "res/resource.h"
#include "store/SecretMemory.h"

namespace {

// Posted to itself when the dialog opens: handled once the window is on the screen.
constexpr UINT WM_BRING_TO_FRONT = WM_USER + 0x100;

} // namespace

CPasswordDlg::CPasswordDlg(CWnd* pParentWnd)
    : CDialog(IDD_PASSWORD, pParentWnd), m_strPrompt(klt::LoadString(IDS_ENTER_PASSWORD)) {
    MapMessage(WM_BRING_TO_FRONT, &CPasswordDlg::OnBringToFront);
}

CPasswordDlg::~CPasswordDlg() {
    klt::Wipe(m_strPassword);
}

void CPasswordDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_PASSWORD, m_strPassword);
}

BOOL CPasswordDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    SetWindowText(m_strPrompt);
    // The question may come while another application is in front (a paste from the hot key), and
    // a window can only be brought up once it is shown.
    PostMessage(WM_BRING_TO_FRONT);
    return TRUE; // the focus goes to the password field, the first tab stop
}

LRESULT CPasswordDlg::OnBringToFront(WPARAM, LPARAM) {
    SetForegroundWindow();
    return 0;
}
