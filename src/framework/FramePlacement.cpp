// The main frame's place on the desktop: the size it opens at the first time, and the size,
// position, maximised state and bars it had when it was last put away, kept in the settings.

#include "framework/ControlBars.h"
#include "framework/ControlWidgets.h"
#include "framework/FrameWnd.h"
#include "framework/ResourceTemplates.h"
#include "framework/WinApp.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <algorithm>

namespace {

QString Key(const char* lpszEntry) {
    return QStringLiteral("Main Window/") + QLatin1String(lpszEntry);
}

// The bars the View menu switches, with the value names that keep them.
struct BarSetting {
    UINT nID;
    const char* name;
};
constexpr BarSetting kBars[] = {{AFX_IDW_TOOLBAR, "ToolBar"}, {AFX_IDW_STATUS_BAR, "StatusBar"}};

} // namespace

QSize CFrameWnd::GetDefaultSize() const {
    // Wide enough for the program's widest dialog, which would look lost over a narrower window,
    // and for the status bar's prompts beside its indicators; never larger than the free screen.
    const QSize baseUnits = klt::DialogBaseUnits(GetWidget()->font());
    int nWidth = 480;
    for (const klt::res::DialogTemplate& dialog : klt::AfxGetResources().AllDialogs()) {
        const int nDialog = klt::DialogUnitsToPixels(baseUnits, 0, 0, dialog.cx, dialog.cy).width();
        nWidth = std::max(nWidth, nDialog + 4 * baseUnits.width());
    }
    QSize size(nWidth, 420);
    if (const QScreen* pScreen = QGuiApplication::primaryScreen()) {
        size = size.boundedTo(pScreen->availableGeometry().size());
    }
    return size;
}

void CFrameWnd::LoadWindowState() {
    CWinApp* pApp = AfxGetApp();
    QWidget* pWindow = GetWidget();
    if (pApp == nullptr || pWindow == nullptr) {
        return;
    }
    QSettings& settings = pApp->GetSettings();
    const QByteArray placement = settings.value(Key("Placement")).toByteArray();
    if (!placement.isEmpty()) {
        pWindow->restoreGeometry(placement);
    }
    if (settings.value(Key("Maximized")).toInt() != 0) {
        pWindow->setWindowState(pWindow->windowState() | Qt::WindowMaximized);
    }
    for (const BarSetting& bar : kBars) {
        const QVariant shown = settings.value(Key(bar.name));
        if (CControlBar* pBar = GetControlBar(bar.nID); pBar != nullptr && shown.isValid()) {
            pBar->GetWidget()->setVisible(shown.toInt() != 0);
        }
    }
}

void CFrameWnd::SaveWindowState() {
    CWinApp* pApp = AfxGetApp();
    QWidget* pWindow = GetWidget();
    if (pApp == nullptr || pWindow == nullptr) {
        return;
    }
    QSettings& settings = pApp->GetSettings();
    settings.setValue(Key("Placement"), pWindow->saveGeometry());
    settings.setValue(Key("Maximized"), pWindow->isMaximized() ? 1 : 0);
    for (const BarSetting& bar : kBars) {
        if (CControlBar* pBar = GetControlBar(bar.nID)) {
            settings.setValue(Key(bar.name), pBar->GetWidget()->isHidden() ? 0 : 1);
        }
    }
    settings.sync();
}
