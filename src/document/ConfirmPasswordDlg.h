#pragma once
// "Confirm Password": the user types a new password a second time. A mismatch closes the dialog
// with Cancel and then says so.

#include "framework/Dialog.h"

#include <string>

class CConfirmPasswordDlg : public CDialog {
public:
    explicit CConfirmPasswordDlg(std::string strPassword, CWnd* pParentWnd = nullptr);
    ~CConfirmPasswordDlg() override; // both texts are wiped

    // IDOK when the retyped text matched. After a mismatch the dialog is gone before the message
    // "The password confirmation does not match." shows, and the result is IDCANCEL.
    int DoModal() override;

    std::string m_strPassword; // the text to be confirmed
    std::string m_strConfirm;  // the retyped text

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

private:
    bool m_bMismatch = false;
};
