#pragma once
// The open and save file dialogs. The filter has the framework's form, description and pattern
// pairs separated by '|' and ended by "||" ("Keyloft Files (*.klt)| *.klt| All Files (*.*)| *.*||").

#include "framework/AfxDefs.h"

#include <string>

class CWnd;

class CFileDialog {
public:
    CFileDialog(BOOL bOpenFileDialog, const char* lpszDefExt = nullptr, const char* lpszFileName = nullptr,
                DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, const char* lpszFilter = nullptr,
                CWnd* pParentWnd = nullptr);

    // IDOK with a chosen file, IDCANCEL otherwise.
    int DoModal();
    std::string GetPathName() const { return m_strPathName; }
    std::string GetFileName() const;
    void SetTitle(const std::string& title) { m_strTitle = title; }

private:
    BOOL m_bOpenFileDialog;
    std::string m_strDefExt;
    std::string m_strFileName;
    DWORD m_dwFlags;
    std::string m_strFilter;
    CWnd* m_pParentWnd;
    std::string m_strTitle;
    std::string m_strPathName;
};

namespace klt {
// "Keyloft Files (*.klt)| *.klt| All Files (*.*)| *.*||" -> "Keyloft Files (*.klt) (*.klt);;All Files (*.*)
// (*)"
std::string QtFileFilter(const std::string& filter);
} // namespace klt
