#include "app/OptionsDlg.h"

#include "res/resource.h"

#include <filesystem>

namespace {

// Stored modifier bit and field modifier bit of each key.
struct ModifierPair {
    WORD wStored;
    WORD wField;
};
constexpr ModifierPair kModifiers[] = {
    {MOD_ALT, HOTKEYF_ALT},
    {MOD_SHIFT, HOTKEYF_SHIFT},
    {MOD_CONTROL, HOTKEYF_CONTROL},
};

constexpr const char* kFilter = "Keyloft Files (*.klt)| *.klt| All Files (*.*)| *.*||";

} // namespace

COptionsDlg::COptionsDlg(CWnd* pParentWnd) : CDialog(IDD_OPTIONS, pParentWnd) {
    MapNotify(BN_CLICKED, IDC_BROWSE, &COptionsDlg::OnBrowse);
}

void COptionsDlg::SetHotKeyFromSettings(WORD wModifiers, WORD wVirtualKey) {
    m_wHotKeyModifiers = HOTKEYF_EXT;
    for (const ModifierPair& pair : kModifiers) {
        if ((wModifiers & pair.wStored) != 0) {
            m_wHotKeyModifiers |= pair.wField;
        }
    }
    m_wHotKeyVirtualKey = wVirtualKey;
}

void COptionsDlg::GetHotKeyForSettings(WORD& wModifiers, WORD& wVirtualKey) const {
    wModifiers = 0;
    for (const ModifierPair& pair : kModifiers) {
        if ((m_wHotKeyModifiers & pair.wField) != 0) {
            wModifiers |= pair.wStored;
        }
    }
    wVirtualKey = m_wHotKeyVirtualKey;
}

BOOL COptionsDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    // The field takes one 16-bit value: the key in the low byte, the modifiers in the high byte.
    m_hotKey.SetHotKey(LOBYTE(m_wHotKeyVirtualKey), LOBYTE(m_wHotKeyModifiers));
    UpdateData(FALSE);
    return TRUE;
}

void COptionsDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Control(pDX, IDC_HOTKEY, m_hotKey);
    DDX_Check(pDX, IDC_TRAY, m_bTray);
    DDX_Text(pDX, IDC_STARTUP_FILE, m_strStartupFile);
    DDX_Check(pDX, IDC_ENABLE_HOTKEY, m_bEnableHotKey);
}

void COptionsDlg::OnOK() {
    if (!UpdateData(TRUE)) {
        return;
    }
    m_hotKey.GetHotKey(m_wHotKeyVirtualKey, m_wHotKeyModifiers);
    if (m_strStartupFile.find('.') == std::string::npos) {
        m_strStartupFile += ".klt";
    }
    UpdateData(FALSE);
    // A file in a missing folder can neither be opened nor made at start.
    const std::filesystem::path folder = std::filesystem::path(m_strStartupFile).parent_path();
    std::error_code error;
    if (!folder.empty() && !std::filesystem::is_directory(folder, error) &&
        AfxMessageBox(klt::FormatString(IDS_ASK_STARTUP_FOLDER_MISSING, folder.string()),
                      MB_YESNO | MB_ICONQUESTION) != IDYES) {
        GotoDlgCtrl(GetDlgItem(IDC_STARTUP_FILE));
        return;
    }
    CDialog::OnOK();
}

void COptionsDlg::OnBrowse() {
    CFileDialog dialog(TRUE, "KLT", nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, kFilter, this);
    if (dialog.DoModal() == IDOK) {
        SetDlgItemText(IDC_STARTUP_FILE, dialog.GetPathName());
    }
}
