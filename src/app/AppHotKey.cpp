// The global hot key of the application object, registered from the settings.

#include "HotKey.h"
#include "KLTApp.h"

#ifdef KLT_WITH_X11
#include "X11Platform.h"

#include <QGuiApplication>
#endif

BOOL CKLTApp::RegisterAppHotKey() {
    const UINT nModifiers = GetProfileInt(kSettings, "HotKeyMOD", MOD_ALT);
    const UINT nVirtualKey = GetProfileInt(kSettings, "HotKeyVK", VK_INSERT);
    if (GetProfileInt(kSettings, "HotKeyEnable", 1) == 0) {
        return FALSE;
    }
    klt::IHotKey* pHotKey = HotKeyService();
    m_bHotKeyRegistered = pHotKey != nullptr && pHotKey->Register(LOWORD(nModifiers), LOWORD(nVirtualKey));
    return m_bHotKeyRegistered;
}

BOOL CKLTApp::UnregisterAppHotKey() {
    if (!m_bHotKeyRegistered) {
        return TRUE;
    }
    klt::IHotKey* pHotKey = HotKeyService();
    return pHotKey == nullptr || pHotKey->Unregister();
}

klt::IHotKey* CKLTApp::HotKeyService() {
#ifdef KLT_WITH_X11
    // The keys are grabbed on the display the windows are on; without X11 windows there is none.
    if (m_pHotKey == nullptr && m_pPlatform == nullptr && QGuiApplication::platformName() == "xcb") {
        m_pPlatform = klt::X11Platform::Open();
        if (m_pPlatform != nullptr) {
            m_pHotKey = &m_pPlatform->HotKey();
        }
    }
#endif
    return m_pHotKey;
}
