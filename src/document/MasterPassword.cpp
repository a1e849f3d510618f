#include "document/MasterPassword.h"

#include "document/MasterPasswordDlg.h"
#include "document/PasswordDlg.h"
#include "framework/MessageBox.h"
#include "res/resource.h"
#include "store/SecretMemory.h"

CMasterPassword::CMasterPassword() = default;
CMasterPassword::~CMasterPassword() {
    Clear();
}

void CMasterPassword::Clear() {
    if (m_pText) {
        klt::Wipe(*m_pText);
    }
    m_pText.reset();
}

void CMasterPassword::SetPassword(const std::string& strText) {
    if (!m_pText) {
        m_pText = std::make_unique<std::string>();
    }
    klt::Wipe(*m_pText); // the buffer may be kept: no tail of the old text may stay behind
    *m_pText = strText;
}

const std::string& CMasterPassword::GetText() const {
    static const std::string kNone;
    return m_pText ? *m_pText : kNone;
}

bool CMasterPassword::AskPassword(const char* lpszName) {
    CPasswordDlg dlg;
    dlg.m_strPassword.clear();
    dlg.m_strPrompt = lpszName != nullptr ? klt::FormatString(IDS_ENTER_PASSWORD_FOR, lpszName)
                                          : klt::LoadString(IDS_ENTER_PASSWORD);
    if (dlg.DoModal() != IDOK) {
        return false;
    }
    SetPassword(dlg.m_strPassword);
    return true;
}

bool CMasterPassword::ChangePassword() {
    if (!m_pText) {
        m_pText = std::make_unique<std::string>();
    }
    CMasterPasswordDlg dlg;
    dlg.m_strPassword = *m_pText;
    if (dlg.DoModal() != IDOK) {
        return false;
    }
    SetPassword(dlg.m_strPassword);
    return true;
}
