#pragma once
// "Enter your password": asks for the master password of a protected file. The prompt becomes the
// dialog's caption.

#include "framework/Dialog.h"

#include <string>

class CPasswordDlg : public CDialog {
public:
    explicit CPasswordDlg(CWnd* pParentWnd = nullptr);
    ~CPasswordDlg() override; // the typed text is wiped

    std::string m_strPrompt;   // "Enter the password." unless the caller names the file
    std::string m_strPassword; // in and out: the field's text

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

private:
    LRESULT OnBringToFront(WPARAM, LPARAM);
};
