// The main frame's side of the tray icon: the icon's set-up and notifications, where a paste from the
// tray goes, and the tray menu's commands.

#include "document/KLTDoc.h"
#include "frame/AppShell.h"
#include "frame/MainFrame.h"
#include "framework/ModalGate.h"
#include "list/NewEntryDlg.h"
#include "platform/PlatformServices.h"
#include "res/resource.h"

#include <QWidget>
#include <ctime>

namespace klt {

bool IsOwnWindow(WindowId window) {
    return window != 0 && QWidget::find(static_cast<WId>(window)) != nullptr;
}

bool MayReturnFocus(WindowId active, WindowId target) {
    return active == 0 || active == target || IsOwnWindow(active);
}

} // namespace klt

void CMainFrame::SetUpTrayIcon() {
    m_trayIcon.SetCallbackWindow(this, WM_USER);
    m_trayIcon.ShowResourceIcon(IDR_TRAYICON);
    if (klt::PlatformServices* pPlatform = klt::CurrentPlatform()) {
        pPlatform->windows.SetActiveWindowCallback(
            [this](klt::WindowId window) { OnActiveWindowChanged(window); });
    }
}

bool CMainFrame::IsPasteTarget(klt::WindowId window) const {
    klt::PlatformServices* pPlatform = klt::CurrentPlatform();
    return pPlatform != nullptr && !klt::IsOwnWindow(window) && pPlatform->windows.IsWindow(window) &&
           !pPlatform->windows.IsDesktopOrPanel(window);
}

// A click on the icon may move the focus to its panel before the icon reports it: the window the user
// worked in before is remembered from the window manager's reports.
void CMainFrame::OnActiveWindowChanged(klt::WindowId window) {
    if (IsPasteTarget(window)) {
        m_hLastActive = window;
    }
}

LRESULT CMainFrame::OnTrayNotify(WPARAM wParam, LPARAM lParam) {
    if (klt::PlatformServices* pPlatform = klt::CurrentPlatform()) {
        const klt::WindowId foreground = pPlatform->windows.ForegroundWindow();
        // The desktop or nothing in front: no window the user could see was chosen.
        if (IsPasteTarget(foreground)) {
            m_hPasteTarget = foreground;
        } else if (pPlatform->windows.IsPanel(foreground) && IsPasteTarget(m_hLastActive)) {
            m_hPasteTarget = m_hLastActive;
        } else if (!klt::IsOwnWindow(foreground)) {
            m_hPasteTarget = 0;
        }
    }
    return m_trayIcon.HandleTrayMessage(static_cast<UINT>(wParam), static_cast<UINT>(lParam));
}

void CMainFrame::WhenNoModal(std::function<void(CMainFrame&)> command) {
    klt::RunWhenNoModal([command = std::move(command)] {
        CWinApp* pApp = AfxGetApp();
        if (auto* pFrame = dynamic_cast<CMainFrame*>(pApp != nullptr ? pApp->m_pMainWnd : nullptr)) {
            command(*pFrame);
        }
    });
}

void CMainFrame::OnTrayConfigure() {
    WhenNoModal([](CMainFrame& frame) { frame.Configure(); });
}

void CMainFrame::Configure() {
    klt::AppShell* pShell = klt::GetAppShell();
    if (pShell == nullptr || !pShell->ShowMainWindow(SW_SHOW)) {
        return;
    }
    ShowWindow(SW_RESTORE);
    SetForegroundWindow();
}

void CMainFrame::OnTrayPaste() {
    WhenNoModal([target = m_hPasteTarget](CMainFrame& frame) { frame.PasteToWindow(target); });
}

void CMainFrame::OnTrayAdd() {
    WhenNoModal([](CMainFrame& frame) { frame.AddFromTray(); });
}

void CMainFrame::AddFromTray() {
    klt::AppShell* pShell = klt::GetAppShell();
    if (pShell == nullptr || !pShell->ShowMainWindow(SW_SHOW)) {
        return;
    }
    auto* pDoc = dynamic_cast<CKLTDoc*>(GetActiveDocument());
    ShowWindow(SW_RESTORE);
    CNewEntryDlg dlg(this);
    if (dlg.DoModal() != IDOK || pDoc == nullptr) {
        return;
    }
    pDoc->m_entryList.push_back(std::make_unique<QMPassword>(
        dlg.m_strSystem, dlg.m_strUserName, dlg.m_strPassword, static_cast<int32_t>(std::time(nullptr))));
    pDoc->SetModifiedFlag();
    pDoc->UpdateAllViews(nullptr);
}

void CMainFrame::OnAppExit() {
    klt::AppShell* pShell = klt::GetAppShell();
    if (pShell == nullptr || klt::IsTrayHostAvailable()) {
        SendMessage(WM_CLOSE);
        return;
    }
    const BOOL bExitOnClose = pShell->ExitsOnClose();
    pShell->SetExitOnClose(TRUE);
    SendMessage(WM_CLOSE);
    if (AfxGetMainWnd() == this) { // the save question was cancelled: the close rule stays
        pShell->SetExitOnClose(bExitOnClose);
    }
}

void CMainFrame::OnTrayExit() {
    if (auto* pApp = dynamic_cast<klt::AppShell*>(AfxGetApp())) {
        pApp->SetExitOnClose(TRUE);
    }
    SendMessage(WM_CLOSE);
}
