// The application object's Help commands: the read-me and licence viewers and the About box.

#include "app/KLTApp.h"
#include "app/help/AboutDlg.h"
#include "app/help/TextViewerDlg.h"
#include "res/resource.h"

void CKLTApp::OnHelpReadMe() {
    CReadMeDlg dialog(IDC_TEXT, "README.TXT", klt::LoadString(IDS_README_TITLE));
    dialog.DoModal();
}

void CKLTApp::OnHelpLicense() {
    CTextViewerDlg dialog(IDD_LICENSE, IDC_TEXT, "LICENSE.TXT", klt::LoadString(IDS_LICENSE_TITLE));
    dialog.DoModal();
}

void CKLTApp::WinHelp(DWORD, UINT) {
    // There is no help file: the read-me is the help.
    OnHelpReadMe();
}

void CKLTApp::OnAppAbout() {
    // Owned by the window with the focus, which may be another dialog; else by the main window.
    CAboutDlg dialog(CWnd::GetFocus());
    dialog.m_strCopyright = m_strLegalCopyright;
    dialog.m_strProductLine = klt::FormatString(IDS_PRODUCT_LINE, m_strProductName, "Unen");
    dialog.m_strVersionLine =
        klt::FormatString(IDS_VERSION_LINE, m_strProductVersion, klt::BuildDateText(m_timeBuild));
    dialog.DoModal();
}
