#include "KLTApp.h"

#include "KLTDoc.h"
#include "KLTView.h"
#include "MainFrame.h"

#include <filesystem>
#include <fstream>

namespace {

constexpr const char* kDefaultFile = "DEFAULT.KLT";

} // namespace

CKLTApp::CKLTApp() = default;

BOOL CKLTApp::InitInstance() {
    SetRegistryKey("Quellmoor");
    LoadStdProfileSettings(4);
    AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, klt::Factory<CKLTDoc, CDocument>(),
                                          klt::Factory<CMainFrame, CFrameWnd>(), klt::Factory<CKLTView, CView>()));

    // The empty untitled document with the main window and the list.
    CCommandLineInfo newFile;
    if (!ProcessShellCommand(newFile) || m_pMainWnd == nullptr) {
        return FALSE;
    }
    OpenStartupFile();
    m_pMainWnd->ShowWindow(SW_SHOW);
    m_pMainWnd->UpdateWindow();
    return TRUE;
}

std::string CKLTApp::GetPathBesideProgram(const std::string& name) const {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return (program.parent_path() / name).string();
}

CKLTDoc* CKLTApp::GetOpenDocument() const {
    CDocTemplate* pTemplate = GetFirstDocTemplate();
    return pTemplate ? static_cast<CKLTDoc*>(pTemplate->GetFirstDocument()) : nullptr;
}

void CKLTApp::OpenStartupFile() {
    CCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    if (cmdInfo.m_nShellCommand == CCommandLineInfo::FileOpen) {
        OpenDocumentFile(cmdInfo.m_strFileName);
        return;
    }
    const std::string path = GetPathBesideProgram(kDefaultFile);
    if (std::ifstream(path, std::ios::binary).is_open()) {
        OpenDocumentFile(path);
        return;
    }
    // A missing default file is made from the empty document; its save asks for the master password.
    AfxMessageBox(IDS_DEFAULT_FILE_CREATED, MB_OK | MB_ICONINFORMATION);
    CKLTDoc* pDoc = GetOpenDocument();
    pDoc->SetPathName(path, FALSE);
    pDoc->OnSaveDocument(path);
}
