// The global hot key of the application object: registered from the settings for the main window,
// whose paste it starts.

#include "app/KLTApp.h"
#include "frame/MainFrame.h"
#include "framework/VirtualKeys.h"
#include "platform/PlatformServices.h"

BOOL CKLTApp::RegisterAppHotKey() {
    const UINT nModifiers = GetProfileInt(kSettings, "HotKeyMOD", MOD_ALT);
    const UINT nVirtualKey = GetProfileInt(kSettings, "HotKeyVK", VK_INSERT);
    if (GetProfileInt(kSettings, "HotKeyEnable", 1) == 0) {
        return FALSE;
    }
    klt::PlatformServices* pPlatform = klt::CurrentPlatform();
    // Settings written by hand may name a plain letter: it is not taken from every other program.
    if (pPlatform == nullptr || !klt::IsGlobalHotKey(nModifiers, static_cast<WORD>(nVirtualKey))) {
        m_bHotKeyRegistered = FALSE;
        return FALSE;
    }
    // The press reaches the main window as a message, handled from the event loop like any other.
    pPlatform->hotKey.SetPressedCallback([this] {
        if (m_pMainWnd != nullptr) {
            m_pMainWnd->PostMessage(WM_HOTKEY, CMainFrame::kHotKeyPressed, 0);
        }
    });
    m_bHotKeyRegistered =
        pPlatform->hotKey.Register(nModifiers & 0xFFFF, nVirtualKey & 0xFFFF) ? TRUE : FALSE;
    return m_bHotKeyRegistered;
}

BOOL CKLTApp::UnregisterAppHotKey() {
    if (!m_bHotKeyRegistered) {
        return TRUE;
    }
    klt::PlatformServices* pPlatform = klt::CurrentPlatform();
    return pPlatform == nullptr || pPlatform->hotKey.Unregister() ? TRUE : FALSE;
}
