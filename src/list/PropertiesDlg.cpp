#include "list/PropertiesDlg.h"

#include "document/ConfirmPasswordDlg.h"
#include "list/RevealPasswords.h"
#include "res/resource.h"

#include <ctime>

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

std::int64_t Now() {
    return static_cast<std::int64_t>(std::time(nullptr));
}

} // namespace

CPropertiesDlg::CPropertiesDlg(CWnd* pParentWnd) : CDialog(IDD_PROPERTIES, pParentWnd) {
    MapNotify(BN_CLICKED, IDC_REVEAL, &CPropertiesDlg::OnReveal);
    MapNotify(EN_CHANGE, IDC_PASSWORD, &CPropertiesDlg::OnChangePassword);
    MapNotify(EN_KILLFOCUS, IDC_PASSWORD, &CPropertiesDlg::OnKillFocusPassword);
    MapNotify(EN_CHANGE, IDC_USERNAME, &CPropertiesDlg::OnChangeUserName);
    MapNotify(EN_KILLFOCUS, IDC_USERNAME, &CPropertiesDlg::OnKillFocusUserName);
}

long CPropertiesDlg::DaysSince(int32_t timeLastChange, std::int64_t now) {
    // Integer division truncates toward zero: 36 hours ahead is -1, 12 hours ahead is 0.
    return static_cast<long>((now - timeLastChange) / kSecondsPerDay);
}

BOOL CPropertiesDlg::OnInitDialog() {
    SetDaysText();
    return CDialog::OnInitDialog();
}

void CPropertiesDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_REVEAL, m_btnReveal);
    DDX_Control(pDX, IDC_PASSWORD, m_editPassword);
    DDX_Text(pDX, IDC_PASSWORD, m_strPassword);
    DDX_Text(pDX, IDC_SYSTEM, m_strSystem);
    DDX_Text(pDX, IDC_USERNAME, m_strUserName);
    DDX_Text(pDX, IDC_DAYS, m_strDays);
}

void CPropertiesDlg::OnOK() {
    if (!UpdateData(TRUE)) {
        return;
    }
    // A password changed while it showed in plain text was seen, and an empty one needs no care.
    if (m_bPasswordEdited && !m_strPassword.empty() && m_editPassword.GetPasswordChar() == '*') {
        CConfirmPasswordDlg confirm(m_strPassword, this);
        if (confirm.DoModal() != IDOK) {
            m_editPassword.SetFocus();
            return;
        }
    }
    // Closing takes the focus from a field that still holds it (OK by Enter), which stamps an edit.
    EndDialog(IDOK);
}

void CPropertiesDlg::OnReveal() {
    klt::ToggleReveal(m_btnReveal, {&m_editPassword});
    // Passing the focus through the field redraws it in its new form and, after an edit, stamps
    // the time as leaving the field always does.
    m_editPassword.SetFocus();
    m_btnReveal.SetFocus();
}

void CPropertiesDlg::OnChangePassword() {
    m_bPasswordEdited = true;
}

void CPropertiesDlg::OnKillFocusPassword() {
    if (m_bPasswordEdited) {
        Restamp();
    }
}

void CPropertiesDlg::OnChangeUserName() {
    m_bUserNameEdited = true;
}

void CPropertiesDlg::OnKillFocusUserName() {
    if (m_bUserNameEdited) {
        Restamp();
    }
}

void CPropertiesDlg::Restamp() {
    UpdateData(TRUE);
    m_timeLastChange = static_cast<int32_t>(Now());
    SetDaysText();
    UpdateData(FALSE);
}

void CPropertiesDlg::SetDaysText() {
    m_strDays = klt::Format("%ld", DaysSince(m_timeLastChange, Now()));
}
