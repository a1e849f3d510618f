#include "app/KLTApp.h"

#include "app/ProgramFiles.h"
#include "app/desktop/DesktopEntry.h"
#include "app/desktop/FileTypeRegistration.h"
#include "app/instance/CommandChannel.h"
#include "app/instance/CommandServer.h"
#include "app/version/VersionInfo.h"
#include "document/KLTDoc.h"
#include "frame/MainFrame.h"
#include "frame/TrayIcon.h"
#include "list/KLTView.h"
#include "platform/LockKeys.h"
#include "platform/OpenPlatform.h"
#include "platform/Platform.h"
#include "platform/PlatformServices.h"
#include "res/resource.h"

#include <QCoreApplication>
#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <string_view>
#include <sys/stat.h>
#include <utility>

namespace {

constexpr const char* kInstanceLock = "KLT_MUTEX";

char UpperLetter(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Whether the file is missing. One that exists but cannot be read is not: making a new file in its
// place would destroy the user's passwords. Nothing is opened, so a pipe cannot make this wait; what
// is not a regular file gets the open's own message later.
bool IsMissing(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) != 0 && errno == ENOENT;
}

} // namespace

CKLTApp::CKLTApp() {
    MapCommand(ID_VIEW_OPTIONS, &CKLTApp::OnOptions);
    MapCommand(ID_HELP_README, &CKLTApp::OnHelpReadMe);
    MapCommand(ID_HELP_LICENSE, &CKLTApp::OnHelpLicense);
    MapCommand(ID_APP_ABOUT, &CKLTApp::OnAppAbout);
    if (ReadBuildTime(m_timeBuild, m_strBuildTimeError)) {
        m_strBuildTimeError.clear();
    }
    klt::VersionBlock block;
    GetVersionString("ProductName", m_strProductName, block);
    GetVersionString("ProductVersion", m_strProductVersion, block);
    GetVersionString("LegalCopyright", m_strLegalCopyright, block);
    GetVersionString("OriginalFilename", m_strOriginalFilename, block);
    m_strProgramPath = GetPathBesideProgram(m_strOriginalFilename);
}

CKLTApp::~CKLTApp() {
    m_pPlatform.reset();
}

void CKLTApp::OpenPlatform() {
    // The compositor names the program's X11 windows by their class, which is the application's name.
    m_pPlatform = klt::OpenPlatform(QCoreApplication::applicationName().toStdString());
    if (m_pPlatform != nullptr) {
        // The connections are served by the event loop: they go while the loop's application still exists.
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, qApp, [this] { m_pPlatform.reset(); });
    }
}

bool CKLTApp::PrintsInformation(int argc, char* argv[]) const {
    for (int i = 1; i < argc; ++i) {
        const std::string_view word = argv[i];
        if (word == "--help" || word == "--version") {
            const std::string text = word == "--help" ? klt::LoadString(IDS_USAGE)
                                                      : m_strProductName + " " + m_strProductVersion + "\n";
            std::fputs(text.c_str(), stdout);
            return true;
        }
    }
    return false;
}

BOOL CKLTApp::InitInstance() {
    if (!m_strBuildTimeError.empty()) {
        AfxMessageBox(m_strBuildTimeError, MB_OK | MB_ICONSTOP);
    }
    // The status bar's CAP, NUM and SCRL follow the keyboard's indicators.
    klt::SetKeyToggleQuery([](WORD vk) { return klt::IsLockKeyOn(vk); });
    SetRegistryKey("Quellmoor");
    // A hot key bound by the desktop starts the program with --paste. Only the exact first word
    // counts, before any switch is looked for, so no file name can ask for it. A first start with
    // it goes to the tray and pastes into the window the user works in.
    const bool bPaste = !m_args.empty() && m_args.front() == kPasteArgument;
    if (bPaste) {
        m_args.front() = "/s";
    }
    if (IsSwitchSet('?')) {
        AfxMessageBox(IDS_SWITCHES, MB_OK | MB_ICONINFORMATION);
        return FALSE;
    }
    switch (m_instanceLock.Acquire(kInstanceLock)) {
    case klt::InstanceLock::Result::first:
        break;
    case klt::InstanceLock::Result::second:
        HandOver(bPaste);
        return FALSE;
    case klt::InstanceLock::Result::failed:
        // Without the lock a second start could not tell that this one runs, and two copies would
        // save over each other's work.
        AfxMessageBox(IDS_NO_PRIVATE_FOLDER, MB_OK | MB_ICONSTOP);
        AfxPostQuitMessage(1);
        return FALSE;
    }
    OpenPlatform();
    // The window the user worked in when the key that started this was pressed: found before any
    // window of ours can come up.
    klt::PlatformServices* pPlatform = klt::CurrentPlatform();
    const klt::WindowId pasteTarget =
        bPaste && pPlatform != nullptr ? pPlatform->windows.ForegroundWindow() : 0;
    LoadStdProfileSettings(4);
    AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, klt::Factory<CKLTDoc, CDocument>(),
                                          klt::Factory<CMainFrame, CFrameWnd>(),
                                          klt::Factory<CKLTView, CView>()));
    klt::RegisterFileType(klt::RunningProgramPath());

    // The empty untitled document with the main window, which stays hidden for now.
    ++m_nSuppressActivate;
    CCommandLineInfo cmdInfo;
    if (!ProcessShellCommand(cmdInfo) || m_pMainWnd == nullptr) {
        return FALSE;
    }
    // A second start finds the window by this id and hands its file over through the window's
    // channel. Both are in place before the start-up file's questions, so that a second start made
    // meanwhile waits for them instead of finding nobody.
    m_pCommandServer = std::make_unique<klt::CommandServer>(m_pMainWnd, [this](const std::string& file) {
        m_strHandedOverFile = file;
        WriteProfileString(kSettings, "Last File", file);
    });
    m_pCommandServer->Listen();
    WriteProfileInt(kSettings, "HWND", static_cast<int>(m_pMainWnd->GetSafeHwnd()));
    ChooseStartupFile(cmdInfo);

    RegisterAppHotKey();
    // Files dropped on the window open as File Open opens them.
    if (auto* pFrame = dynamic_cast<CFrameWnd*>(m_pMainWnd)) {
        pFrame->DragAcceptFiles();
    }
    if (auto* pFrame = dynamic_cast<CMainFrame*>(m_pMainWnd)) {
        pFrame->SetUpTrayIcon();
    }

    // Normal mode shows the window with the start-up file; tray mode opens nothing yet. Without a
    // tray host the window is the only way back to the program: a start-up file that was not opened
    // (its password question cancelled, say) leaves it up with the empty document.
    if (!IsSwitchSet('S') || IsSwitchSet('N')) {
        const int nCmdShow = IsSwitchSet('M') ? SW_SHOWMINIMIZED : SW_SHOW;
        if (!ShowMainWindow(nCmdShow) && !klt::IsTrayHostAvailable()) {
            m_pMainWnd->ShowWindow(nCmdShow);
            m_pMainWnd->UpdateWindow();
        }
    }
    if (klt::AutostartEntryExists(klt::AutostartEntryPath(m_strProductName))) {
        m_bExitOnClose = FALSE;
    }
    if (bPaste) {
        m_pMainWnd->PostMessage(WM_HOTKEY, 0, static_cast<LPARAM>(pasteTarget));
    }
    if (GetProfileInt(kSettings, "Show ReadMe", 1) != 0) {
        OnHelpReadMe();
    }
    return TRUE;
}

void CKLTApp::DestroyWindows() {
    m_pCommandServer.reset();
    CWinApp::DestroyWindows();
}

std::string CKLTApp::GetDefaultFolder() {
    const std::string name = GetProfileString(kSettings, "Startup File", kDefaultFile);
    const std::string path = klt::IsBareFileName(name) ? GetPathBesideProgram(name) : name;
    return std::filesystem::path(klt::FullPath(path)).parent_path().string();
}

std::string CKLTApp::GetFileFilter(BOOL bOpenFileDialog, CDocTemplate*) {
    return klt::LoadString(bOpenFileDialog ? IDS_OPEN_FILTER : IDS_SAVE_FILTER);
}

BOOL CKLTApp::IsSwitchSet(char letter) const {
    // Only at the start of a word: '-' is common inside Linux file names and '/' separates their
    // folders, so neither "my-stuff.klt" nor "/srv/a.klt" may start in the tray. "/Sx" counts as /S.
    return std::any_of(m_args.begin(), m_args.end(), [letter](const std::string& word) {
        return CCommandLineInfo::IsSwitch(word) && UpperLetter(word[1]) == UpperLetter(letter);
    });
}

std::string CKLTApp::GetPathBesideProgram(const std::string& name) const {
    return klt::ProgramFolders::OfRunningProgram().PathOf(name);
}

void CKLTApp::ChooseStartupFile(CCommandLineInfo& cmdInfo) {
    ParseCommandLine(cmdInfo);
    if (cmdInfo.m_nShellCommand == CCommandLineInfo::FileNew) {
        const std::string name = GetProfileString(kSettings, "Startup File", kDefaultFile);
        cmdInfo.m_nShellCommand = CCommandLineInfo::FileOpen;
        cmdInfo.m_strFileName = klt::FullPath(klt::IsBareFileName(name) ? GetPathBesideProgram(name) : name);
        // A second instance has no document to make the file from; the first one reports it.
        CKLTDoc* pDoc = GetOpenDocument();
        const std::string folder = std::filesystem::path(cmdInfo.m_strFileName).parent_path().string();
        if (IsMissing(folder)) {
            // Nothing can be made there: the start goes on untitled, with no file to open.
            if (pDoc != nullptr) {
                AfxMessageBox(klt::FormatString(IDS_STARTUP_FOLDER_MISSING, folder),
                              MB_OK | MB_ICONEXCLAMATION);
            }
            cmdInfo.m_nShellCommand = CCommandLineInfo::FileNew;
            cmdInfo.m_strFileName.clear();
            WriteProfileString(kSettings, "Last File", "");
            return;
        }
        if (pDoc != nullptr && IsMissing(cmdInfo.m_strFileName)) {
            AfxMessageBox(IDS_DEFAULT_FILE_CREATED, MB_OK | MB_ICONINFORMATION);
            pDoc->SetPathName(cmdInfo.m_strFileName, FALSE);
            pDoc->OnSaveDocument(cmdInfo.m_strFileName);
        }
    }
    // In full, since the instance that opens it may have another current folder.
    cmdInfo.m_strFileName = klt::FullPath(cmdInfo.m_strFileName);
    WriteProfileString(kSettings, "Last File", cmdInfo.m_strFileName);
}

BOOL CKLTApp::ShowMainWindow(int nCmdShow) {
    CCommandLineInfo cmdInfo;
    cmdInfo.m_nShellCommand = CCommandLineInfo::FileOpen;
    cmdInfo.m_strFileName = m_strHandedOverFile.empty() ? GetProfileString(kSettings, "Last File", "")
                                                        : std::exchange(m_strHandedOverFile, {});
    CDocTemplate* pTemplate = GetDocTemplate();
    CDocument* pOpen = nullptr;
    if (pTemplate == nullptr) {
        return FALSE;
    }
    // No last file (its folder was missing at start): the window comes up with what it holds.
    if (!cmdInfo.m_strFileName.empty() &&
        pTemplate->MatchDocType(cmdInfo.m_strFileName, pOpen) != CDocTemplate::yesAlreadyOpen) {
        const int nSuppressBefore = m_nSuppressActivate++;
        if (!ProcessShellCommand(cmdInfo)) {
            // A failed open never reached the frame's activation; its skip must not swallow a later one.
            m_nSuppressActivate = std::min(m_nSuppressActivate, nSuppressBefore);
            return FALSE;
        }
    }
    if (m_pMainWnd == nullptr) {
        return FALSE;
    }
    m_pMainWnd->ShowWindow(nCmdShow);
    m_pMainWnd->UpdateWindow();
    return TRUE;
}

CDocTemplate* CKLTApp::GetDocTemplate() const {
    return GetFirstDocTemplate();
}

CKLTDoc* CKLTApp::GetOpenDocument() const {
    CDocTemplate* pTemplate = GetDocTemplate();
    return pTemplate != nullptr ? dynamic_cast<CKLTDoc*>(pTemplate->GetFirstDocument()) : nullptr;
}

bool CKLTApp::ConsumeSuppressedActivation() {
    if (m_nSuppressActivate <= 0) {
        return false;
    }
    --m_nSuppressActivate;
    return true;
}

void CKLTApp::HandOver(bool bPaste) {
    // A paste names no file: the running instance keeps its own.
    CCommandLineInfo cmdInfo;
    if (!bPaste) {
        ChooseStartupFile(cmdInfo);
    }
    const auto window = static_cast<uint32_t>(GetProfileInt(kSettings, "HWND", 0));
    const klt::ChannelMessage message =
        bPaste ? klt::ChannelMessage{window, WM_HOTKEY, 0, 0, {}}
               : klt::ChannelMessage{window, WM_COMMAND, ID_TRAY_CONFIGURE, 0, cmdInfo.m_strFileName};
    int32_t result = 0;
    // A stale id, a channel that could not be made, settings that could not be written: the user
    // is told that nothing was brought up, and whoever started this learns it from the exit status.
    if (!klt::SendChannelMessage(message, result)) {
        AfxMessageBox(IDS_INSTANCE_UNREACHABLE, MB_OK | MB_ICONSTOP);
        AfxPostQuitMessage(1);
    }
}
