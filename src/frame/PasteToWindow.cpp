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

LRESULT CMainFrame::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_HOTKEY) {
        if (klt::PlatformServices* pPlatform = klt::CurrentPlatform()) {
            WhenNoModal([target = pPlatform->windows.ForegroundWindow()](CMainFrame& frame) {
                frame.PasteToWindow(target);
            });
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
    {
        CForeignWnd owner(target);
        CPasteDlg dlg(&owner, windows);
        dlg.m_pDoc = dynamic_cast<CKLTDoc*>(GetActiveDocument());
        dlg.m_nSel = m_nPasteSelection;
        if (dlg.DoModal() == IDOK && !dlg.m_strText.empty()) {
            if (windows.IsWindow(target)) {
                windows.SetForegroundWindow(target);
                // The wait for released modifiers turns the event loop: what must not run inside a
                // dialog must not run inside the typing either.
                const klt::ModalScope typing;
                klt::KeystrokeTyper typer(pPlatform->keyboard);
                typer.TypeText(dlg.m_strText);
                klt::BringToFront(*this);
                if (typer.UntypedCount() > 0) {
                    AfxMessageBox(
                        klt::FormatString(IDS_CHARACTERS_NOT_TYPED, std::to_string(typer.UntypedCount())),
                        MB_OK | MB_ICONEXCLAMATION);
                }
            } else {
                AfxMessageBox(klt::FormatString(IDS_TARGET_GONE, dlg.m_strPasteTo), MB_OK | MB_ICONSTOP);
            }
        }
        m_nPasteSelection = dlg.m_nSel;
        klt::Wipe(dlg.m_strText);
    }
    if (windows.IsWindow(target)) {
        windows.SetForegroundWindow(target);
    }
}
