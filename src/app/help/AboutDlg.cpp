#include "app/help/AboutDlg.h"

#include "framework/QtText.h"
#include "res/resource.h"

#include <QDateTime>
#include <QLocale>

CAboutDlg::CAboutDlg(CWnd* pParentWnd) : CDialog(IDD_ABOUTBOX, pParentWnd) {}

void CAboutDlg::DoDataExchange(CDataExchange* pDX) {
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_COPYRIGHT, m_strCopyright);
    DDX_Text(pDX, IDC_PRODUCT_NAME, m_strProductLine);
    DDX_Text(pDX, IDC_PRODUCT_VERSION, m_strVersionLine);
}

namespace klt {

std::string BuildDateText(int32_t timeBuild) {
    if (timeBuild == 0) {
        return {};
    }
    const QDate date = QDateTime::fromSecsSinceEpoch(timeBuild).toLocalTime().date();
    return ToBytes(QLocale().toString(date, QLocale::ShortFormat));
}

} // namespace klt
