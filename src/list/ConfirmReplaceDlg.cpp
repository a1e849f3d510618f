#include "list/ConfirmReplaceDlg.h"

#include "list/RevealPasswords.h"
#include "res/resource.h"

#include <QDate>
#include <QLocale>
#include <ctime>

CConfirmReplaceDlg::CConfirmReplaceDlg(CWnd* pParentWnd) : CDialog(IDD_CONFIRM_REPLACE, pParentWnd) {
    MapNotify(BN_CLICKED, IDC_REVEAL, &CConfirmReplaceDlg::OnReveal);
}

std::string CConfirmReplaceDlg::LastModifiedText(int32_t timeLastChange) {
    const std::time_t time = timeLastChange;
    std::tm local{};
    if (localtime_r(&time, &local) == nullptr) {
        return {};
    }
    const QDate date(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    return klt::ToBytes(QLocale().toString(date, QLocale::ShortFormat));
}

BOOL CConfirmReplaceDlg::OnInitDialog() {
    m_strCurLastModified = LastModifiedText(m_timeCurLastChange);
    m_strWithLastModified = LastModifiedText(m_timeWithLastChange);
    // Both passwords start masked and the button offers to reveal them.
    return CDialog::OnInitDialog();
}

void CConfirmReplaceDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_REVEAL, m_btnReveal);
    DDX_Control(pDX, IDC_WITH_PASSWORD, m_editWithPassword);
    DDX_Control(pDX, IDC_CUR_PASSWORD, m_editCurPassword);
    DDX_Text(pDX, IDC_CUR_LASTMODIFIED, m_strCurLastModified);
    DDX_Text(pDX, IDC_CUR_PASSWORD, m_strCurPassword);
    DDX_Text(pDX, IDC_CUR_SYSTEM, m_strCurSystem);
    DDX_Text(pDX, IDC_CUR_USERNAME, m_strCurUserName);
    DDX_Text(pDX, IDC_WITH_LASTMODIFIED, m_strWithLastModified);
    DDX_Text(pDX, IDC_WITH_PASSWORD, m_strWithPassword);
    DDX_Text(pDX, IDC_WITH_SYSTEM, m_strWithSystem);
    DDX_Text(pDX, IDC_WITH_USERNAME, m_strWithUserName);
}

void CConfirmReplaceDlg::OnReveal() {
    // Both fields start masked and always flip together, so they show or hide as one.
    klt::ToggleReveal(m_btnReveal, {&m_editCurPassword, &m_editWithPassword});
}
