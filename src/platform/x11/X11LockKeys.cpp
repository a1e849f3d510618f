#include "platform/LockKeys.h"

#include <QGuiApplication>
#include <X11/XKBlib.h>

namespace klt {
namespace {

// The keyboard's indicators by the names the X keyboard extension gives them.
const char* IndicatorName(std::uint16_t vk) {
    switch (vk) {
    case 0x14: // VK_CAPITAL
        return "Caps Lock";
    case 0x90: // VK_NUMLOCK
        return "Num Lock";
    case 0x91: // VK_SCROLL
        return "Scroll Lock";
    default:
        return nullptr;
    }
}

} // namespace

bool IsLockKeyOn(std::uint16_t vk) {
    const char* name = IndicatorName(vk);
    const auto* x11 =
        qGuiApp != nullptr ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    Display* display = x11 != nullptr ? x11->display() : nullptr;
    if (name == nullptr || display == nullptr) {
        return false;
    }
    // Only an existing atom can name an indicator; a server without it has no such indicator.
    const Atom indicator = XInternAtom(display, name, True);
    Bool bOn = False;
    return indicator != None && XkbGetNamedIndicator(display, indicator, nullptr, &bOn, nullptr, nullptr) &&
           bOn;
}

} // namespace klt
