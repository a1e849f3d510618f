// The paste: the user picks an entry in the paste dialog, which belongs to the target window, and its
// user name or password is typed into that window, key by key.

#include "document/KLTDoc.h"
#include "frame/AppShell.h"
#include "frame/MainFrame.h"
#include "frame/PasteDlg.h"
#include "framework/ModalGate.h"
#include "platform/KeystrokeTyper.h"
#include "platform/PlatformServices.h"
#include "res/resource.h"
#include "store/SecretMemory.h"

#include <QApplication>
#include <QWidget>

LRESULT CMainFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_HOTKEY) {
        // The key pressed while one of our own windows waits for the user: what is open comes up,
        // and nothing is kept for later. A hand-over of a second start waits its turn.
        if (wParam == kHotKeyPressed && klt::IsModalOpen()) {
            if (QWidget* pModal = QApplication::activeModalWidget()) {
                pModal->raise();
                pModal->activateWindow();
            }
            return 0;
        }
        if (klt::PlatformServices* pPlatform = klt::CurrentPlatform()) {
            const auto named = static_cast<klt::WindowId>(lParam);
            WhenNoModal([target = named != 0 ? named : pPlatform->windows.ForegroundWindow()](
                            CMainFrame& frame) { frame.PasteToWindow(target); });
        }
        return 0;
    }
    return CFrameWnd::WindowProc(message, wParam, lParam);
}

void CMainFrame::PasteToWindow(klt::WindowId target) {
    // Typing into our own window would only type into the paste dialog's owner: the frame, another
    // dialog of ours, the icon.
    if (klt::IsOwnWindow(target)) {
        return;
    }
    klt::BringToFront(*this);
    klt::PlatformServices* pPlatform = klt::CurrentPlatform();
    if (pPlatform == nullptr || !IsPasteTarget(target)) {
        const bool unreachable = pPlatform != nullptr && target == 0 && pPlatform->noneMayBeUnreachable;
        AfxMessageBox(unreachable ? IDS_CANNOT_TYPE_HERE : IDS_NO_PASTE_TARGET, MB_OK | MB_ICONSTOP);
        return;
    }
    klt::AppShell* pShell = klt::GetAppShell();
    const int nShow = pPlatform->canMinimise ? SW_SHOWMINIMIZED : IsWindowVisible() ? SW_SHOWNA : SW_HIDE;
    if (pShell == nullptr || !pShell->ShowMainWindow(nShow)) {
        return;
    }
    klt::IWindowSystem& windows = pPlatform->windows;
    bool stopped = false;
    {
        CForeignWnd owner(target);
        CPasteDlg dlg(&owner, windows);
        dlg.m_pDoc = dynamic_cast<CKLTDoc*>(GetActiveDocument());
        dlg.m_nSel = m_nPasteSelection;
        dlg.m_strSelSystem = m_strPasteSystem;
        if (dlg.DoModal() == IDOK && !dlg.m_strText.empty()) {
            if (windows.IsWindow(target)) {
                windows.SetForegroundWindow(target);
                // The wait for released modifiers turns the event loop: what must not run inside a
                // dialog must not run inside the typing either.
                const klt::ModalScope typing;
                klt::KeystrokeTyper typer(pPlatform->keyboard);
                typer.TypeText(dlg.m_strText, &windows, target);
                klt::BringToFront(*this);
                stopped = typer.Stopped();
                if (stopped) {
                    AfxMessageBox(klt::FormatString(IDS_TYPING_STOPPED, typer.DoneCount(), typer.Length(),
                                                    dlg.m_strPasteTo),
                                  MB_OK | MB_ICONSTOP);
                } else if (typer.UntypedCount() > 0) {
                    AfxMessageBox(
                        klt::FormatString(IDS_CHARACTERS_NOT_TYPED, std::to_string(typer.UntypedCount())),
                        MB_OK | MB_ICONEXCLAMATION);
                }
            } else {
                AfxMessageBox(klt::FormatString(IDS_TARGET_GONE, dlg.m_strPasteTo), MB_OK | MB_ICONSTOP);
            }
        }
        m_nPasteSelection = dlg.m_nSel;
        m_strPasteSystem = dlg.m_strSelSystem;
        klt::Wipe(dlg.m_strText);
    }
    // The user may have gone on to another window meanwhile: that one stays in front.
    if (!stopped && windows.IsWindow(target) && klt::MayReturnFocus(windows.ForegroundWindow(), target)) {
        windows.SetForegroundWindow(target);
    }
}
