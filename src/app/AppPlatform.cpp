// The platform services of the application object: on a Wayland desktop those of the compositor
// where it lets clients type and list its windows, or those of the desktop portal on KDE Plasma;
// else those of the X display the windows are on.

#include "app/KLTApp.h"
#include "platform/PlatformServices.h"
#include "platform/PortalPlatform.h"
#include "platform/WaylandPlatform.h"
#include "platform/X11Platform.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <cstdlib>

namespace {

template <class Platform> klt::PlatformServices* ServicesOf(Platform& platform) {
    return new klt::PlatformServices{platform.Keyboard(), platform.Windows(), platform.HotKey()};
}

bool IsKdeDesktop() {
    return qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(QLatin1Char(':')).contains(QLatin1String("KDE"));
}

} // namespace

void CKLTApp::OpenPlatform() {
    if (klt::CurrentPlatform() != nullptr || QGuiApplication::platformName() != QLatin1String("xcb")) {
        return;
    }
    m_pX11 = klt::X11Platform::Open();
    if (m_pX11 == nullptr) {
        return;
    }
    const char* pWaylandDisplay = std::getenv("WAYLAND_DISPLAY");
    const bool bWayland = pWaylandDisplay != nullptr && *pWaylandDisplay != '\0';
    if (bWayland) {
        // The compositor names the program's X11 windows by their class, which is the application's name.
        m_pWayland = klt::WaylandPlatform::Open(&m_pX11->Keyboard(),
                                                QCoreApplication::applicationName().toStdString());
        // Plasma offers neither protocol: only its desktop portal reaches the native windows.
        if (m_pWayland == nullptr && IsKdeDesktop()) {
            m_pPortal = klt::PortalPlatform::Open(&m_pX11->Keyboard());
        }
    }
    if (m_pWayland != nullptr) {
        m_pPlatform.reset(ServicesOf(*m_pWayland));
        m_pPlatform->canMinimise = false;
    } else if (m_pPortal != nullptr) {
        m_pPlatform.reset(ServicesOf(*m_pPortal));
    } else {
        m_pPlatform.reset(ServicesOf(*m_pX11));
        // There the X display shows no window at all while a native Wayland window has the focus.
        m_pPlatform->noneMayBeUnreachable = bWayland;
    }
    klt::InstallPlatform(m_pPlatform.get());
    // The connections are served by the event loop: they go while the loop's application still exists.
    QObject::connect(qApp, &QCoreApplication::aboutToQuit, qApp, [this] { ClosePlatform(); });
}

void CKLTApp::ClosePlatform() {
    if (m_pPlatform != nullptr && klt::CurrentPlatform() == m_pPlatform.get()) {
        klt::InstallPlatform(nullptr);
    }
    m_pPlatform.reset();
    m_pWayland.reset();
    m_pPortal.reset();
    m_pX11.reset();
}
