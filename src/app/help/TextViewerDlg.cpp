#include "app/help/TextViewerDlg.h"

#include "app/KLTApp.h"
#include "app/ProgramFiles.h"
#include "app/help/TextPrinter.h"
#include "res/resource.h"
#include "store/FileException.h"
#include "store/FileIo.h"

#include <QEvent>
#include <QFontDatabase>
#include <QWidget>
#include <optional>
#include <vector>

namespace {

constexpr size_t kTextLimit = 65536; // a text must be shorter than this

// Lets a viewer be resized and maximised, no smaller than its template: the text box takes the new
// room, the controls below it keep their distance from the bottom edge, and those in the right half
// (the buttons) also theirs from the right edge.
class ViewerGrowth : public QObject {
public:
    ViewerGrowth(QWidget* pDialog, QWidget* pText)
        : QObject(pDialog), m_pText(pText), m_minimum(pDialog->size()), m_textSize(pText->size()) {
        for (QWidget* pChild : pDialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
            if (pChild != pText && pChild->y() > pText->geometry().bottom()) {
                m_below.push_back({pChild, pChild->pos(), pChild->x() > m_minimum.width() / 2});
            }
        }
        pDialog->setMinimumSize(m_minimum);
        pDialog->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
        pDialog->setWindowFlag(Qt::WindowMaximizeButtonHint);
        pDialog->installEventFilter(this);
    }

    bool eventFilter(QObject* pWatched, QEvent* pEvent) override {
        if (pEvent->type() == QEvent::Resize) {
            const QSize growth = (static_cast<QWidget*>(pWatched)->size() - m_minimum).expandedTo({0, 0});
            m_pText->resize(m_textSize + growth);
            for (const Below& below : m_below) {
                below.pWidget->move(below.pos + QPoint(below.bRight ? growth.width() : 0, growth.height()));
            }
        }
        return false;
    }

private:
    struct Below {
        QWidget* pWidget;
        QPoint pos; // where the template put it
        bool bRight;
    };
    QWidget* m_pText;
    QSize m_minimum;
    QSize m_textSize;
    std::vector<Below> m_below;
};

} // namespace

BOOL FetchTextFile(const std::string& path, std::string& text) {
    text.clear();
    // Never more than the limit, whatever size the file claims (one in /proc may claim none and
    // never end); the read refuses pipes and devices without waiting for a writer.
    std::string bytes;
    try {
        bytes = klt::ReadFileContents(path, nullptr, kTextLimit);
    } catch (const CFileException&) {
        return FALSE;
    }
    if (bytes.size() >= kTextLimit) {
        return FALSE;
    }
    text = bytes.substr(0, bytes.find('\0'));
    return TRUE;
}

CTextViewerDlg::CTextViewerDlg(UINT nIDTemplate, int nEditID, const std::string& fileName,
                               const std::string& title, CWnd* pParentWnd)
    : CDialog(nIDTemplate, pParentWnd),
      m_strFilePath(klt::IsBareFileName(fileName) ? klt::ProgramFolders::OfRunningProgram().PathOf(fileName)
                                                  : fileName),
      m_strTitle(title), m_nEditID(nEditID) {
    MapNotify(BN_CLICKED, IDC_PRINT, &CTextViewerDlg::PrintText);
}

BOOL CTextViewerDlg::OnInitDialog() {
    if (!FetchTextFile(m_strFilePath, m_strFileText)) {
        AfxMessageBox(klt::FormatString(IDS_TEXT_FILE_MISSING, m_strFilePath), MB_OK | MB_ICONHAND);
    }
    CDialog::OnInitDialog();
    if (GetWindowText().empty()) {
        SetWindowText(m_strTitle);
    }
    m_editText.TakeOver(static_cast<UINT>(m_nEditID), this);
    m_editText.SetWindowText(m_strFileText);
    m_editText.GetWidget()->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    new ViewerGrowth(GetWidget(), m_editText.GetWidget()); // owned by the dialog's window
    return TRUE;
}

void CTextViewerDlg::PrintText() {
    CPrintDialog dialog(this);
    if (dialog.DoModal() != IDOK) {
        return;
    }
    std::vector<std::string> lines;
    const int nLines = m_editText.GetLineCount();
    for (int i = 0; i < nLines; ++i) {
        lines.push_back(m_editText.GetLine(i));
    }
    if (!klt::PrintLines(dialog.GetPrinter(), GetWindowText(), lines)) {
        AfxMessageBox(IDS_PRINT_ERROR, MB_OK | MB_ICONSTOP);
    }
}

CReadMeDlg::CReadMeDlg(int nEditID, const std::string& fileName, const std::string& title, CWnd* pParentWnd)
    : CTextViewerDlg(IDD_README, nEditID, fileName, title, pParentWnd),
      m_bShowReadMe(AfxGetApp()->GetProfileInt(CKLTApp::kSettings, "Show ReadMe", 1) != 0 ? 1 : 0) {
    MapNotify(BN_CLICKED, IDC_SHOW_README, &CReadMeDlg::OnShowReadMe);
}

void CReadMeDlg::DoDataExchange(CDataExchange* pDX) {
    CTextViewerDlg::DoDataExchange(pDX);
    DDX_Check(pDX, IDC_SHOW_README, m_bShowReadMe);
}

void CReadMeDlg::OnShowReadMe() {
    auto* pCheck = dynamic_cast<CButton*>(GetDlgItem(IDC_SHOW_README));
    m_bShowReadMe = pCheck != nullptr ? pCheck->GetCheck() : m_bShowReadMe;
    AfxGetApp()->WriteProfileInt(CKLTApp::kSettings, "Show ReadMe", m_bShowReadMe);
}
