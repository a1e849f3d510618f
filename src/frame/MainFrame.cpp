#include "frame/MainFrame.h"

#include "frame/AppShell.h"
#include "platform/PlatformServices.h"
#include "res/resource.h"

#include <array>

namespace {

// The message pane, then the lock-key indicators.
constexpr std::array<UINT, 4> kIndicators{ID_SEPARATOR, ID_INDICATOR_CAPS, ID_INDICATOR_NUM,
                                          ID_INDICATOR_SCRL};

} // namespace

CMainFrame::CMainFrame() : m_trayIcon(IDR_TRAYICON) {
    MapCommand(ID_TRAY_CONFIGURE, &CMainFrame::OnTrayConfigure);
    MapCommand(ID_TRAY_PASTE, &CMainFrame::OnTrayPaste);
    MapCommand(ID_TRAY_ADD, &CMainFrame::OnTrayAdd);
    MapCommand(ID_TRAY_EXIT, &CMainFrame::OnTrayExit);
    MapCommand(ID_APP_EXIT, &CMainFrame::OnAppExit);
    MapMessage(WM_USER, &CMainFrame::OnTrayNotify);
}

CMainFrame::~CMainFrame() {
    if (klt::PlatformServices* pPlatform = klt::CurrentPlatform()) {
        pPlatform->windows.SetActiveWindowCallback({});
    }
}

int CMainFrame::OnCreate(CREATESTRUCT* lpCreateStruct) {
    if (CFrameWnd::OnCreate(lpCreateStruct) == -1) {
        return -1;
    }
    if (!m_wndToolBar.Create(this, WS_CHILD | WS_VISIBLE | CBRS_TOP) ||
        !m_wndToolBar.LoadToolBar(IDR_MAINFRAME)) {
        return -1;
    }
    if (!m_wndStatusBar.Create(this) ||
        !m_wndStatusBar.SetIndicators(kIndicators.data(), static_cast<int>(kIndicators.size()))) {
        return -1;
    }
    m_wndToolBar.SetBarStyle(m_wndToolBar.GetBarStyle() | CBRS_TOOLTIPS | CBRS_FLYBY | CBRS_SIZE_DYNAMIC);
    m_wndToolBar.EnableDocking(CBRS_ALIGN_ANY);
    EnableDocking(CBRS_ALIGN_ANY);
    DockControlBar(&m_wndToolBar);
    return 0;
}

void CMainFrame::ActivateFrame(int nCmdShow) {
    if (klt::AppShell* pShell = klt::GetAppShell();
        pShell != nullptr && pShell->ConsumeSuppressedActivation()) {
        return;
    }
    CFrameWnd::ActivateFrame(nCmdShow);
}

void CMainFrame::OnClose() {
    klt::AppShell* pShell = klt::GetAppShell();
    if (pShell == nullptr || pShell->ExitsOnClose()) {
        CFrameWnd::OnClose();
        if (AfxGetMainWnd() != this) {
            m_trayIcon.ShowResourceIcon(0); // the program ends: the icon goes with the window
        }
        return;
    }
    if (!AfxGetApp()->SaveAllModified()) {
        return;
    }
    // Without a notification area a hidden window could not be called back by mouse: it waits
    // minimised instead.
    ShowWindow(klt::IsTrayHostAvailable() ? SW_HIDE : SW_MINIMIZE);
    // The open file's entries leave memory; the next call for the window opens the last file again.
    if (CDocument* pDoc = GetActiveDocument()) {
        pDoc->GetDocTemplate()->SetDefaultTitle(pDoc);
        pDoc->OnNewDocument();
        pDoc->UpdateAllViews(nullptr);
        OnUpdateFrameTitle(TRUE);
    }
}
