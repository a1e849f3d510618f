#include "platform/portal/PortalWindows.h"

#include <QEventLoop>
#include <QGuiApplication>
#include <QTimer>
#include <QWindow>

namespace klt::portal {

namespace {

constexpr int kFocusBoundMs = 2000;

bool OwnWindowHasFocus() {
    return QGuiApplication::focusWindow() != nullptr;
}

} // namespace

WindowId PortalWindows::ForegroundWindow() {
    return OwnWindowHasFocus() ? 0 : kActiveWindow;
}

bool PortalWindows::SetForegroundWindow(WindowId window) {
    if (window != kActiveWindow) {
        return false;
    }
    if (!OwnWindowHasFocus()) {
        return true;
    }
    QEventLoop loop;
    QObject::connect(qGuiApp, &QGuiApplication::focusWindowChanged, &loop, [&loop](QWindow* focus) {
        if (focus == nullptr) {
            loop.quit();
        }
    });
    QTimer::singleShot(kFocusBoundMs, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    return !OwnWindowHasFocus();
}

bool PortalWindows::HoldFocus(WindowId window) {
    return window == kActiveWindow && !OwnWindowHasFocus();
}

std::string PortalWindows::WindowTitle(WindowId window) {
    return window == kActiveWindow ? "the window that was active" : std::string();
}

} // namespace klt::portal
