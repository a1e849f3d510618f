#pragma once
// "New entry": system name, user name and password of an entry to add. It closes with OK only with
// a system name, and with a password only once the user has typed it a second time.

#include "framework/Framework.h"

#include <string>

class CNewEntryDlg : public CDialog {
public:
    explicit CNewEntryDlg(CWnd* pParentWnd = nullptr);

    std::string m_strSystem;
    std::string m_strUserName;
    std::string m_strPassword;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

    CEdit m_editSystem;
    CEdit m_editPassword;
};
