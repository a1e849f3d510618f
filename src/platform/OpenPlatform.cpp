#include "platform/OpenPlatform.h"

#include <QGuiApplication>
#include <cstdlib>

namespace klt {

namespace {

bool IsKdeDesktop() {
    return qEnvironmentVariable("XDG_CURRENT_DESKTOP").split(QLatin1Char(':')).contains(QLatin1String("KDE"));
}

} // namespace

PlatformRoutes::PlatformRoutes(std::unique_ptr<Platform> pX11, std::unique_ptr<Platform> pRoute)
    : m_pX11(std::move(pX11)),
      m_pRoute(std::move(pRoute)), m_services{Serving().Keyboard(), Serving().Windows(), Serving().HotKey()} {
}

PlatformRoutes::~PlatformRoutes() {
    if (CurrentPlatform() == &m_services) {
        InstallPlatform(nullptr);
    }
}

std::unique_ptr<PlatformRoutes> OpenPlatform(const std::string& ownAppId) {
    if (CurrentPlatform() != nullptr || QGuiApplication::platformName() != QLatin1String("xcb")) {
        return nullptr;
    }
    std::unique_ptr<Platform> pX11 = OpenX11Platform();
    if (pX11 == nullptr) {
        return nullptr;
    }
    const char* pWaylandDisplay = std::getenv("WAYLAND_DISPLAY");
    const bool bWayland = pWaylandDisplay != nullptr && *pWaylandDisplay != '\0';
    std::unique_ptr<Platform> pCompositor;
    std::unique_ptr<Platform> pPortal;
    if (bWayland) {
        pCompositor = OpenWaylandPlatform(&pX11->Keyboard(), ownAppId);
        // Plasma offers neither protocol: only its desktop portal reaches the native windows.
        if (pCompositor == nullptr && IsKdeDesktop()) {
            pPortal = OpenPortalPlatform(&pX11->Keyboard());
        }
    }
    const bool bCompositor = pCompositor != nullptr;
    const bool bPortal = pPortal != nullptr;
    auto pRoutes = std::make_unique<PlatformRoutes>(std::move(pX11), bCompositor ? std::move(pCompositor)
                                                                                 : std::move(pPortal));
    if (bCompositor) {
        pRoutes->Services().canMinimise = false;
    } else if (!bPortal) {
        // There the X display shows no window at all while a native Wayland window has the focus.
        pRoutes->Services().noneMayBeUnreachable = bWayland;
    }
    InstallPlatform(&pRoutes->Services());
    return pRoutes;
}

} // namespace klt
