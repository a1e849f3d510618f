#include "framework/WinApp.h"

#include "framework/CommandLineInfo.h"
#include "framework/DocTemplate.h"
#include "framework/Document.h"
#include "framework/FileDialog.h"
#include "framework/FrameWnd.h"
#include "framework/MessageBox.h"
#include "framework/ModalGate.h"
#include "framework/QtText.h"
#include "framework/RecentFileList.h"
#include "store/TextCodec.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QSettings>
#include <QThread>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {

CWinApp* g_pApp = nullptr;

QString Key(const char* lpszSection, const char* lpszEntry) {
    return QString::fromUtf8(lpszSection) + QLatin1Char('/') + QString::fromUtf8(lpszEntry);
}

// Settings may name the user's files: the file is the user's alone, in a folder of the user's alone,
// from the start. Later saves replace the file with one of the same permissions.
void MakePrivate(const std::string& fileName) {
    const std::filesystem::path folder = std::filesystem::path(fileName).parent_path();
    std::error_code error;
    std::filesystem::create_directories(folder, error);
    (void)::chmod(folder.c_str(), 0700);
    const int fd = ::open(fileName.c_str(), O_WRONLY | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0600);
    if (fd >= 0) {
        (void)::fchmod(fd, 0600);
        ::close(fd);
    }
}

} // namespace

CWinApp::CWinApp(const char* lpszAppName) {
    g_pApp = this;
    m_strAppName = lpszAppName != nullptr ? lpszAppName : klt::LoadString(AFX_IDS_APP_TITLE);
    m_pszAppName = m_strAppName.c_str();
    MapCommand(ID_FILE_NEW, &CWinApp::OnFileNew);
    MapCommand(ID_FILE_OPEN, &CWinApp::OnFileOpen);
    MapCommand(ID_APP_EXIT, &CWinApp::OnAppExit);
    MapCommandRange(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE16, &CWinApp::OnOpenRecentFile);
    MapUpdateRange(ID_FILE_MRU_FILE1, ID_FILE_MRU_FILE16, &CWinApp::OnUpdateRecentFileMenu);
}

CWinApp::~CWinApp() {
    if (!m_templates.empty() && QCoreApplication::instance() == nullptr) {
        // The display connection went with the QApplication: destroying the windows now would write
        // to freed memory and crash somewhere later. A plain stop names the fault instead; the
        // windows must go first (AfxWinMain sees to it).
        std::fputs("Keyloft: windows outlived the QApplication\n", stderr);
        std::abort();
    }
    DestroyWindows();
    while (m_nWaitCursorCount > 0) {
        DoWaitCursor(-1);
    }
    if (g_pApp == this) {
        g_pApp = nullptr;
    }
}

CWinApp* AfxGetApp() {
    return g_pApp;
}

void CWinApp::DestroyWindows() {
    m_templates.clear();
    m_pMainWnd = nullptr;
}

BOOL CWinApp::InitInstance() {
    return TRUE;
}

int CWinApp::ExitInstance() {
    SaveStdProfileSettings();
    return m_nQuitCode;
}

void CWinApp::RunWhenNoModal(std::function<void()> task) {
    klt::RunWhenNoModal(std::move(task));
}

int CWinApp::Run() {
    ConnectIdle();
    if (!m_bQuitPosted) {
        m_nQuitCode = QApplication::exec();
    }
    return ExitInstance();
}

void AfxPostQuitMessage(int nExitCode) {
    if (QThread::currentThread()->loopLevel() > 0) {
        QCoreApplication::exit(nExitCode);
    } else if (g_pApp != nullptr) {
        g_pApp->m_bQuitPosted = true; // no loop yet: Run ends at once
        g_pApp->m_nQuitCode = nExitCode;
    }
}

void CWinApp::ConnectIdle() {
    // The framework's idle time: just before the event loop waits for the next event.
    if (QAbstractEventDispatcher* pDispatcher = QAbstractEventDispatcher::instance()) {
        QObject::connect(pDispatcher, &QAbstractEventDispatcher::aboutToBlock, pDispatcher,
                         [this] { OnIdle(0); });
    }
}

BOOL CWinApp::OnIdle(LONG) {
    if (auto* pFrame = dynamic_cast<CFrameWnd*>(m_pMainWnd); pFrame != nullptr && pFrame->IsWindowVisible()) {
        pFrame->OnIdleUpdateCmdUI();
    }
    return FALSE;
}

void CWinApp::SetCommandLine(const std::vector<std::string>& args) {
    m_args = args;
    m_lpCmdLine.clear();
    for (const std::string& arg : args) {
        if (!m_lpCmdLine.empty()) {
            m_lpCmdLine += ' ';
        }
        m_lpCmdLine += arg.find_first_of(" \t") != std::string::npos ? "\"" + arg + "\"" : arg;
    }
}

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo) {
    for (size_t i = 0; i < m_args.size(); ++i) {
        const std::string& arg = m_args[i];
        const BOOL bLast = i + 1 == m_args.size();
        if (CCommandLineInfo::IsSwitch(arg)) {
            rCmdInfo.ParseParam(arg.c_str() + 1, TRUE, bLast);
        } else {
            rCmdInfo.ParseParam(arg.c_str(), FALSE, bLast);
        }
    }
}

BOOL CWinApp::ProcessShellCommand(CCommandLineInfo& rCmdInfo) {
    switch (rCmdInfo.m_nShellCommand) {
    case CCommandLineInfo::FileNew:
        if (!OnCmdMsg(ID_FILE_NEW, CN_COMMAND, nullptr, nullptr)) {
            OnFileNew();
        }
        return m_pMainWnd != nullptr;
    case CCommandLineInfo::FileOpen:
    case CCommandLineInfo::FilePrint:
    case CCommandLineInfo::FilePrintTo:
        // The program prints nothing on a print request; the file is opened as any other.
        return OpenDocumentFile(rCmdInfo.m_strFileName) != nullptr;
    case CCommandLineInfo::FileNothing:
        break;
    }
    return TRUE;
}

// ---- Profile settings

void CWinApp::SetRegistryKey(const char* lpszRegistryKey) {
    m_strRegistryKey = lpszRegistryKey != nullptr ? lpszRegistryKey : "";
    m_pszRegistryKey = m_strRegistryKey.c_str();
    m_pSettings.reset();
}

QSettings& CWinApp::GetSettings() {
    if (m_pSettings == nullptr) {
        const std::string& organization = m_strRegistryKey.empty() ? m_strAppName : m_strRegistryKey;
        m_pSettings =
            std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                        QString::fromUtf8(organization), QString::fromUtf8(m_strAppName));
        MakePrivate(m_pSettings->fileName().toStdString());
    }
    return *m_pSettings;
}

UINT CWinApp::GetProfileInt(const char* lpszSection, const char* lpszEntry, int nDefault) {
    GetSettings().sync(); // another instance may have written it since
    const QVariant value = GetSettings().value(Key(lpszSection, lpszEntry));
    bool bOk = false;
    const qlonglong number = value.toString().toLongLong(&bOk);
    return bOk ? static_cast<UINT>(number) : static_cast<UINT>(nDefault);
}

BOOL CWinApp::WriteProfileInt(const char* lpszSection, const char* lpszEntry, int nValue) {
    GetSettings().setValue(Key(lpszSection, lpszEntry), nValue);
    GetSettings().sync();
    return GetSettings().status() == QSettings::NoError;
}

std::string CWinApp::GetProfileString(const char* lpszSection, const char* lpszEntry,
                                      const char* lpszDefault) {
    GetSettings().sync(); // another instance may have written it since
    const QVariant value = GetSettings().value(Key(lpszSection, lpszEntry));
    if (!value.isValid()) {
        return lpszDefault != nullptr ? lpszDefault : "";
    }
    if (value.typeId() == QMetaType::QByteArray) {
        return value.toByteArray().toStdString();
    }
    if (value.typeId() == QMetaType::QStringList) {
        return value.toStringList().join(QLatin1Char(',')).toStdString();
    }
    return value.toString().toStdString();
}

BOOL CWinApp::WriteProfileString(const char* lpszSection, const char* lpszEntry, const char* lpszValue) {
    QSettings& settings = GetSettings();
    if (lpszEntry == nullptr) {
        settings.remove(QString::fromUtf8(lpszSection));
    } else if (lpszValue == nullptr) {
        settings.remove(Key(lpszSection, lpszEntry));
    } else {
        return WriteProfileString(lpszSection, lpszEntry, std::string(lpszValue));
    }
    settings.sync();
    return settings.status() == QSettings::NoError;
}

BOOL CWinApp::WriteProfileString(const char* lpszSection, const char* lpszEntry, const std::string& value) {
    QSettings& settings = GetSettings();
    // Texts that are not UTF-8 keep their bytes.
    if (klt::IsValidUtf8(value)) {
        settings.setValue(Key(lpszSection, lpszEntry), QString::fromStdString(value));
    } else {
        settings.setValue(Key(lpszSection, lpszEntry),
                          QByteArray(value.data(), static_cast<qsizetype>(value.size())));
    }
    settings.sync();
    return settings.status() == QSettings::NoError;
}

// ---- Documents

void CWinApp::LoadStdProfileSettings(UINT nMaxMRU) {
    if (nMaxMRU == 0) {
        m_pRecentFileList.reset();
        return;
    }
    m_pRecentFileList =
        std::make_unique<CRecentFileList>(0, "Recent File List", "File%d", static_cast<int>(nMaxMRU));
    m_pRecentFileList->ReadList();
}

void CWinApp::SaveStdProfileSettings() {
    if (m_pRecentFileList != nullptr) {
        m_pRecentFileList->WriteList();
    }
}

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate) {
    m_templates.emplace_back(pTemplate);
}

CDocTemplate* CWinApp::GetFirstDocTemplate() const {
    return m_templates.empty() ? nullptr : m_templates.front().get();
}

CDocument* CWinApp::OpenDocumentFile(const std::string& path) {
    const std::string full = klt::FullPath(path);
    CDocTemplate* pBest = nullptr;
    CDocTemplate::Confidence best = CDocTemplate::noAttempt;
    for (const auto& pTemplate : m_templates) {
        CDocument* pOpen = nullptr;
        const CDocTemplate::Confidence match = pTemplate->MatchDocType(full, pOpen);
        if (match == CDocTemplate::yesAlreadyOpen) {
            // Already the open document: bring its frame up instead of reading the file again.
            if (auto* pFrame = dynamic_cast<CFrameWnd*>(m_pMainWnd)) {
                pFrame->ActivateFrame();
            }
            return pOpen;
        }
        if (match > best) {
            best = match;
            pBest = pTemplate.get();
        }
    }
    return pBest != nullptr ? pBest->OpenDocumentFile(full) : nullptr;
}

void CWinApp::AddToRecentFileList(const std::string& path) {
    if (m_pRecentFileList != nullptr) {
        m_pRecentFileList->Add(path);
    }
}

BOOL CWinApp::SaveAllModified() {
    for (const auto& pTemplate : m_templates) {
        if (!pTemplate->SaveAllModified()) {
            return FALSE;
        }
    }
    return TRUE;
}

void CWinApp::CloseAllDocuments(BOOL bEndSession) {
    for (const auto& pTemplate : m_templates) {
        pTemplate->CloseAllDocuments(bEndSession);
    }
}

BOOL CWinApp::DoPromptFileName(std::string& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog,
                               CDocTemplate* pTemplate) {
    if (pTemplate == nullptr) {
        pTemplate = GetFirstDocTemplate();
    }
    std::string defExt;
    if (pTemplate != nullptr) {
        pTemplate->GetDocString(defExt, CDocTemplate::filterExt);
    }
    const std::string filter = GetFileFilter(bOpenFileDialog, pTemplate);
    std::string initial = fileName;
    if (const std::string folder = GetDefaultFolder();
        !initial.empty() && initial.find('/') == std::string::npos && !folder.empty()) {
        initial = folder + "/" + initial;
    }
    CFileDialog dialog(bOpenFileDialog, defExt.c_str(), initial.c_str(), OFN_HIDEREADONLY | lFlags,
                       filter.c_str(), m_pMainWnd);
    dialog.SetTitle(klt::LoadString(nIDSTitle));
    if (dialog.DoModal() != IDOK) {
        return FALSE;
    }
    fileName = dialog.GetPathName();
    return TRUE;
}

std::string CWinApp::GetFileFilter(BOOL, CDocTemplate* pTemplate) {
    std::string filter;
    std::string defExt;
    std::string filterName;
    if (pTemplate != nullptr && pTemplate->GetDocString(filterName, CDocTemplate::filterName) &&
        pTemplate->GetDocString(defExt, CDocTemplate::filterExt) && !filterName.empty() && !defExt.empty()) {
        filter = filterName + "|*" + defExt + "|";
    }
    return filter + klt::LoadString(AFX_IDS_ALLFILTER) + "|*.*||";
}

std::string CWinApp::GetDefaultFolder() {
    return {};
}

// ---- Commands

void CWinApp::OnFileNew() {
    if (CDocTemplate* pTemplate = GetFirstDocTemplate()) {
        pTemplate->OpenDocumentFile({});
    }
}

void CWinApp::OnFileOpen() {
    std::string fileName;
    if (!DoPromptFileName(fileName, AFX_IDS_OPENFILE, OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, TRUE, nullptr)) {
        return;
    }
    OpenDocumentFile(fileName);
}

void CWinApp::OnOpenRecentFile(UINT nID) {
    if (m_pRecentFileList == nullptr) {
        return;
    }
    const int nIndex = static_cast<int>(nID - ID_FILE_MRU_FILE1);
    if (nIndex < 0 || nIndex >= m_pRecentFileList->GetCount()) {
        return;
    }
    const std::string path = (*m_pRecentFileList)[nIndex];
    if (OpenDocumentFile(path) == nullptr) {
        m_pRecentFileList->Remove(nIndex);
    }
}

void CWinApp::OnUpdateRecentFileMenu(CCmdUI* pCmdUI) {
    if (m_pRecentFileList == nullptr) {
        pCmdUI->Enable(FALSE);
        return;
    }
    m_pRecentFileList->UpdateMenu(pCmdUI);
}

void CWinApp::OnAppExit() {
    if (m_pMainWnd != nullptr) {
        m_pMainWnd->SendMessage(WM_CLOSE);
    }
}

// ---- User interface

void CWinApp::DoWaitCursor(int nCode) {
    const bool bGui = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
    if (nCode > 0) {
        ++m_nWaitCursorCount;
        if (bGui) {
            QApplication::setOverrideCursor(Qt::WaitCursor);
        }
    } else if (nCode < 0) {
        if (m_nWaitCursorCount > 0) {
            --m_nWaitCursorCount;
            if (bGui) {
                QApplication::restoreOverrideCursor();
            }
        }
    } else if (m_nWaitCursorCount > 0 && bGui) {
        QApplication::changeOverrideCursor(Qt::WaitCursor);
    }
}

int CWinApp::DoMessageBox(const std::string& prompt, UINT nType, UINT) {
    return klt::ShowMessageBox(prompt, m_strAppName, klt::WithDefaultIcon(nType));
}

void CWinApp::WinHelp(DWORD, UINT) {}

int AfxWinMain(int argc, char* argv[]) {
    QApplication application(argc, argv);
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr) {
        return 1;
    }
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) {
        args.emplace_back(argv[i]);
    }
    pApp->SetCommandLine(args);
    const int nExitCode = pApp->InitInstance() ? pApp->Run() : pApp->ExitInstance();
    // The windows go while the display they live on is still open.
    pApp->DestroyWindows();
    return nExitCode;
}
