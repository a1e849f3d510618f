#include "platform/PlatformServices.h"

namespace klt {
namespace {

PlatformServices* g_pServices = nullptr;

} // namespace

PlatformServices* CurrentPlatform() {
    return g_pServices;
}

PlatformServices* InstallPlatform(PlatformServices* pServices) {
    PlatformServices* pPrevious = g_pServices;
    g_pServices = pServices;
    return pPrevious;
}

} // namespace klt
