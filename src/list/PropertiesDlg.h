#pragma once
// "Properties": edits one entry's system name, user name and password, shows the password on
// request and how many whole days ago it was last changed. Typing in the user-name or password
// field and then leaving it stamps the time of last change anew; the stamp reaches the entry only
// when the dialog ends with OK.

#include "framework/Framework.h"

#include <cstdint>
#include <string>

class CPropertiesDlg : public CDialog {
public:
    explicit CPropertiesDlg(CWnd* pParentWnd = nullptr);

    std::string m_strSystem;
    std::string m_strUserName;
    std::string m_strPassword;
    std::string m_strDays;
    int32_t m_timeLastChange = 0; // set by the caller before the dialog runs
    bool m_bPasswordEdited = false;
    bool m_bUserNameEdited = false;

    // Whole days from timeLastChange to now, truncated toward zero: negative for a time a day or
    // more in the future.
    static long DaysSince(int32_t timeLastChange, std::int64_t now);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;

    void OnReveal();
    void OnChangePassword();
    void OnKillFocusPassword();
    void OnChangeUserName();
    void OnKillFocusUserName();

    // Fetches the fields, stamps the time of last change with now and shows the fields again.
    void Restamp();
    void SetDaysText();

    CButton m_btnReveal;
    CEdit m_editPassword;
};
