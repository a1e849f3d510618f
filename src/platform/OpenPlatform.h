#pragma once
// The choice of route: the platform services of the desktop the program runs on, opened once at start
// and installed for the rest of the program.

#include "platform/Platform.h"
#include "platform/PlatformServices.h"

#include <memory>
#include <string>

namespace klt {

// The routes in use, kept open while their services are installed.
class PlatformRoutes {
public:
    // pRoute, when there is one, serves instead of the X display's route and may ask it for the
    // modifiers the user holds.
    PlatformRoutes(std::unique_ptr<Platform> pX11, std::unique_ptr<Platform> pRoute);
    // Removes the services again when they are still the ones in force.
    ~PlatformRoutes();
    PlatformRoutes(const PlatformRoutes&) = delete;
    PlatformRoutes& operator=(const PlatformRoutes&) = delete;

    PlatformServices& Services() { return m_services; }

private:
    Platform& Serving() { return m_pRoute != nullptr ? *m_pRoute : *m_pX11; }

    std::unique_ptr<Platform> m_pX11; // the program's own windows are on this display; destroyed last
    std::unique_ptr<Platform> m_pRoute;
    PlatformServices m_services;
};

// On a Wayland desktop the services of the compositor where it lets clients type and list its windows,
// or those of the desktop portal on KDE Plasma; else those of the X display the program's windows are
// on. Installs them and returns what keeps them open: null, with nothing installed, when services are
// in force already (a test's) or the program's windows are not on an X display. Toplevels whose
// application id is ownAppId are the program's own.
std::unique_ptr<PlatformRoutes> OpenPlatform(const std::string& ownAppId);

} // namespace klt
