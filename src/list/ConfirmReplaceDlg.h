#pragma once
// "Confirm Replace": shows an entry of the open file beside the incoming entry of the same system
// name from the file being merged, and asks whether the incoming one replaces it. Yes ends with OK,
// No (and Escape, and the close box) with Cancel. Every field is read-only; Reveal shows or hides
// both passwords together.

#include "framework/Framework.h"

#include <cstdint>
#include <string>

class CConfirmReplaceDlg : public CDialog {
public:
    explicit CConfirmReplaceDlg(CWnd* pParentWnd = nullptr);

    // Set by the caller before the dialog runs. "Replace:", the entry of the open file:
    std::string m_strCurSystem;
    std::string m_strCurUserName;
    std::string m_strCurPassword;
    int32_t m_timeCurLastChange = 0;
    std::string m_strCurLastModified;
    // "With:", the incoming entry:
    std::string m_strWithSystem;
    std::string m_strWithUserName;
    std::string m_strWithPassword;
    int32_t m_timeWithLastChange = 0;
    std::string m_strWithLastModified;

    // The local date of a time of last change in the user's short date form ("3/9/98" in US
    // English); empty when the time has no calendar date.
    static std::string LastModifiedText(int32_t timeLastChange);

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;

    void OnReveal();

    CButton m_btnReveal;
    CEdit m_editWithPassword;
    CEdit m_editCurPassword;
};
