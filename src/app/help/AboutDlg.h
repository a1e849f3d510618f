#pragma once
// The About box: the program's icon, name and edition, version and build date, and copyright.

#include "framework/Framework.h"

#include <cstdint>
#include <string>

class CAboutDlg : public CDialog {
public:
    explicit CAboutDlg(CWnd* pParentWnd = nullptr);

    std::string m_strCopyright;
    std::string m_strProductLine;
    std::string m_strVersionLine;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};

namespace klt {
// The build time as a date in local time, in the locale's short form (3/5/99 in the United States);
// empty when the time is not known (0).
std::string BuildDateText(int32_t timeBuild);
} // namespace klt
