#pragma once
// "Master password": changes a document's master password. The new password is confirmed before
// the original one is checked; an empty new password removes the protection without confirmation.

#include "framework/Controls.h"
#include "framework/Dialog.h"

#include <string>

class CMasterPasswordDlg : public CDialog {
public:
    explicit CMasterPasswordDlg(CWnd* pParentWnd = nullptr);
    ~CMasterPasswordDlg() override; // the typed texts are wiped

    std::string m_strPassword; // in: the current master password; out: the new one
    std::string m_strOriginal; // the Original password field
    std::string m_strNew;      // the New password field
    CEdit m_editOriginal;
    CEdit m_editNew;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    void OnOK() override;

private:
    // The new password would not fit the file: says so and keeps the dialog open.
    bool RefuseTooLong();
};
