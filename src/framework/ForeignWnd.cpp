#include "framework/ForeignWnd.h"

#include <QGuiApplication>
#include <QWidget>
#include <QWindow>

CForeignWnd::CForeignWnd(std::uintptr_t hWnd) : m_hWnd(hWnd) {}

CForeignWnd::~CForeignWnd() = default;

void CForeignWnd::OwnTopLevel(QWidget* pWindow) {
    // X11 window ids have 29 bits. Larger ids stand for windows that are no X11 windows (those a Wayland
    // compositor lists, the portal's active window): nothing can be transient for them.
    if (m_hWnd == 0 || m_hWnd > 0x1FFFFFFFu || pWindow == nullptr) {
        return;
    }
    // Window ids are X11 ids; other platforms (the offscreen one of the tests) have no such windows.
    if (m_pStandIn == nullptr && QGuiApplication::platformName() == QLatin1String("xcb")) {
        // The stand-in only refers to the window; destroying it leaves the window alone.
        m_pStandIn.reset(QWindow::fromWinId(static_cast<WId>(m_hWnd)));
    }
    if (m_pStandIn == nullptr) {
        return;
    }
    pWindow
        ->winId(); // the native window exists from here on, so its owner can be recorded before it is shown
    pWindow->windowHandle()->setTransientParent(m_pStandIn.get());
}
