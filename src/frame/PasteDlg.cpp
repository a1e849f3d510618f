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
    // Entries added or removed since move the entry chosen last time; among entries of the same name,
    // the position tells which.
    int nSel = m_nSel;
    for (int i = 0; !m_strSelSystem.empty() && SystemAt(nSel) != m_strSelSystem && i < m_listBox.GetCount();
         ++i) {
        if (SystemAt(i) == m_strSelSystem) {
            nSel = i;
        }
    }
    m_listBox.SetCurSel(nSel);
    return TRUE; // the focus goes to the list, the first tab stop
}

const QMPassword* CPasteDlg::EntryAt(int nIndex) {
    void* pData = nIndex == LB_ERR ? nullptr : m_listBox.GetItemDataPtr(nIndex);
    return pData != reinterpret_cast<void*>(-1) ? static_cast<const QMPassword*>(pData) : nullptr;
}

std::string CPasteDlg::SystemAt(int nIndex) {
    const QMPassword* pEntry = EntryAt(nIndex);
    return pEntry != nullptr ? pEntry->m_strSystem : std::string();
}

void CPasteDlg::Remember(int nSel) {
    m_nSel = nSel;
    m_strSelSystem = SystemAt(nSel);
}

void CPasteDlg::Paste(std::string QMPassword::*pField) {
    const int nSel = m_listBox.GetCurSel();
    if (nSel == LB_ERR) {
        return;
    }
    if (const QMPassword* pEntry = EntryAt(nSel)) {
        m_strText = pEntry->*pField;
    }
    UpdateData(TRUE);
    Remember(nSel);
    EndDialog(IDOK);
}

void CPasteDlg::OnPasteUsername() {
    Paste(&QMPassword::m_strUserName);
}

void CPasteDlg::OnPastePassword() {
    Paste(&QMPassword::m_strPassword);
}

void CPasteDlg::OnCloseButton() {
    Remember(m_listBox.GetCurSel());
    EndDialog(IDCANCEL);
}
