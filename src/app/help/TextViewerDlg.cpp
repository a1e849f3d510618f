#include "app/help/TextViewerDlg.h"

#include "app/KLTApp.h"
#include "app/ProgramFiles.h"
#include "app/help/TextPrinter.h"
#include "res/resource.h"
#include "store/FileException.h"
#include "store/FileIo.h"

#include <QFontDatabase>
#include <QWidget>

namespace {

constexpr size_t kTextLimit = 65536; // a text must be shorter than this

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
