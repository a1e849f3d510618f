#include "framework/Wnd.h"

#include "framework/ControlWidgets.h"
#include "framework/DialogWindow.h"
#include "framework/FrameWnd.h"
#include "framework/QtText.h"
#include "framework/WinApp.h"

#include <QApplication>
#include <QKeyEvent>
#include <QScreen>

namespace {

const char* const kWndProperty = "klt_cwnd";
const char* const kBytesProperty = "klt_bytes";
const char* const kShownProperty = "klt_shown";

// Gives the window object the first look at its widget's events.
class WndEventFilter : public QObject {
public:
    explicit WndEventFilter(CWnd* pWnd) : m_pWnd(pWnd) {}
    bool eventFilter(QObject* pWatched, QEvent* pEvent) override {
        auto* pWidget = static_cast<QWidget*>(pWatched);
        if (pEvent->type() == QEvent::KeyPress &&
            klt::HandleDialogKey(pWidget, static_cast<QKeyEvent*>(pEvent))) {
            return true;
        }
        return m_pWnd->PreTranslateEvent(pEvent) != FALSE;
    }

private:
    CWnd* m_pWnd;
};

} // namespace

CWnd::CWnd() = default;

CWnd::~CWnd() {
    Detach();
}

std::uintptr_t CWnd::GetSafeHwnd() const {
    if (m_pWidget.isNull()) {
        return 0;
    }
    return static_cast<std::uintptr_t>(m_pWidget->window()->winId());
}

CWnd* CWnd::FromWidget(const QWidget* pWidget) {
    if (pWidget == nullptr) {
        return nullptr;
    }
    return reinterpret_cast<CWnd*>(pWidget->property(kWndProperty).value<quintptr>());
}

void CWnd::Attach(QWidget* pWidget) {
    Detach();
    m_pWidget = pWidget;
    m_pPrevious = FromWidget(pWidget);
    pWidget->setProperty(kWndProperty, QVariant::fromValue(reinterpret_cast<quintptr>(this)));
    m_pFilter = new WndEventFilter(this);
    m_pFilter->setParent(pWidget);
    pWidget->installEventFilter(m_pFilter);
}

void CWnd::Detach() {
    if (!m_pWidget.isNull()) {
        delete m_pFilter;
        if (FromWidget(m_pWidget) == this) {
            m_pWidget->setProperty(kWndProperty,
                                   QVariant::fromValue(reinterpret_cast<quintptr>(m_pPrevious)));
        }
    }
    m_pFilter = nullptr;
    m_pPrevious = nullptr;
    m_pWidget = nullptr;
}

BOOL CWnd::Create(const char*, const char* lpszWindowName, DWORD dwStyle, const CRect& rect, CWnd* pParentWnd,
                  UINT nID, CCreateContext*) {
    auto* pWidget = new QWidget(pParentWnd != nullptr ? pParentWnd->GetWidget() : nullptr);
    pWidget->setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
    klt::SetControlId(pWidget, static_cast<int>(nID));
    klt::SetControlStyle(pWidget, dwStyle);
    if (lpszWindowName != nullptr) {
        pWidget->setWindowTitle(klt::ToQString(lpszWindowName));
    }
    pWidget->setVisible((dwStyle & WS_VISIBLE) != 0);
    Attach(pWidget);
    return TRUE;
}

BOOL CWnd::DestroyWindow() {
    if (m_pWidget.isNull()) {
        return FALSE;
    }
    QWidget* pWidget = m_pWidget;
    Detach();
    delete pWidget;
    return TRUE;
}

BOOL CWnd::SubclassDlgItem(UINT nID, CWnd* pParent) {
    QWidget* pControl =
        klt::FindControl(pParent != nullptr ? pParent->GetWidget() : nullptr, static_cast<int>(nID));
    if (pControl == nullptr) {
        return FALSE;
    }
    Attach(pControl);
    return TRUE;
}

int CWnd::GetDlgCtrlID() const {
    return m_pWidget.isNull() ? 0 : klt::ControlId(m_pWidget);
}

CWnd* CWnd::GetDlgItem(int nID) const {
    return FromWidget(klt::FindControl(m_pWidget, nID));
}

CWnd* CWnd::GetParent() const {
    if (m_pWidget.isNull()) {
        return nullptr;
    }
    for (QWidget* pParent = m_pWidget->parentWidget(); pParent != nullptr;
         pParent = pParent->parentWidget()) {
        if (CWnd* pWnd = FromWidget(pParent)) {
            return pWnd;
        }
    }
    return nullptr;
}

CFrameWnd* CWnd::GetParentFrame() const {
    for (QWidget* pWidget = m_pWidget; pWidget != nullptr; pWidget = pWidget->parentWidget()) {
        if (auto* pFrame = dynamic_cast<CFrameWnd*>(FromWidget(pWidget))) {
            return pFrame;
        }
    }
    return nullptr;
}

DWORD CWnd::GetStyle() const {
    return m_pWidget.isNull() ? 0 : klt::ControlStyle(m_pWidget);
}

void CWnd::SetWindowText(const std::string& text) {
    if (m_pWidget.isNull()) {
        return;
    }
    const QString shown = klt::ToQString(text);
    klt::SetWidgetText(m_pWidget, shown);
    // Remember the bytes, so that a text the user leaves alone comes back exactly.
    m_pWidget->setProperty(kBytesProperty, QByteArray(text.data(), static_cast<qsizetype>(text.size())));
    m_pWidget->setProperty(kShownProperty, klt::WidgetText(m_pWidget));
}

std::string CWnd::GetWindowText() const {
    if (m_pWidget.isNull()) {
        return {};
    }
    const QString current = klt::WidgetText(m_pWidget);
    const QVariant shown = m_pWidget->property(kShownProperty);
    if (shown.isValid() && shown.toString() == current) {
        return m_pWidget->property(kBytesProperty).toByteArray().toStdString();
    }
    return klt::ToBytes(current);
}

void CWnd::SetDlgItemText(int nID, const std::string& text) {
    if (CWnd* pItem = GetDlgItem(nID)) {
        pItem->SetWindowText(text);
    }
}

std::string CWnd::GetDlgItemText(int nID) const {
    CWnd* pItem = GetDlgItem(nID);
    return pItem != nullptr ? pItem->GetWindowText() : std::string();
}

BOOL CWnd::EnableWindow(BOOL bEnable) {
    if (m_pWidget.isNull()) {
        return FALSE;
    }
    const BOOL bWasDisabled = !m_pWidget->isEnabled();
    m_pWidget->setEnabled(bEnable != FALSE);
    return bWasDisabled;
}

BOOL CWnd::IsWindowEnabled() const {
    return !m_pWidget.isNull() && m_pWidget->isEnabled();
}

BOOL CWnd::ShowWindow(int nCmdShow) {
    if (m_pWidget.isNull()) {
        return FALSE;
    }
    const BOOL bWasVisible = m_pWidget->isVisible();
    QWidget* pWidget = m_pWidget;
    switch (nCmdShow) {
    case SW_HIDE:
        pWidget->hide();
        break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
    case SW_SHOWMINNOACTIVE:
        pWidget->showMinimized();
        break;
    case SW_SHOWMAXIMIZED:
        pWidget->showMaximized();
        break;
    case SW_SHOWNOACTIVATE:
    case SW_SHOWNA:
        pWidget->setAttribute(Qt::WA_ShowWithoutActivating, true);
        pWidget->show();
        pWidget->setAttribute(Qt::WA_ShowWithoutActivating, false);
        break;
    case SW_RESTORE:
    case SW_SHOWNORMAL:
        if (pWidget->isWindow() && (pWidget->isMinimized() || pWidget->isMaximized())) {
            pWidget->showNormal();
        } else {
            pWidget->show();
        }
        break;
    default:
        pWidget->show();
        break;
    }
    return bWasVisible;
}

BOOL CWnd::IsWindowVisible() const {
    return !m_pWidget.isNull() && m_pWidget->isVisible();
}

BOOL CWnd::IsIconic() const {
    return !m_pWidget.isNull() && m_pWidget->window()->isMinimized();
}

CWnd* CWnd::SetFocus() {
    CWnd* pPrevious = GetFocus();
    if (!m_pWidget.isNull()) {
        m_pWidget->setFocus(Qt::OtherFocusReason);
    }
    return pPrevious;
}

CWnd* CWnd::GetFocus() {
    return FromWidget(QApplication::focusWidget());
}

BOOL CWnd::SetForegroundWindow() {
    if (m_pWidget.isNull()) {
        return FALSE;
    }
    QWidget* pWindow = m_pWidget->window();
    pWindow->raise();
    pWindow->activateWindow();
    return TRUE;
}

void CWnd::CenterWindow(CWnd* pAlternateOwner) {
    if (m_pWidget.isNull()) {
        return;
    }
    QWidget* pWindow = m_pWidget->window();
    QRect area;
    if (pAlternateOwner != nullptr && pAlternateOwner->GetWidget() != nullptr) {
        area = pAlternateOwner->GetWidget()->window()->frameGeometry();
    } else if (QScreen* pScreen = pWindow->screen()) {
        area = pScreen->availableGeometry();
    }
    QRect frame = pWindow->frameGeometry();
    frame.moveCenter(area.center());
    pWindow->move(frame.topLeft());
}

void CWnd::MoveWindow(int x, int y, int nWidth, int nHeight, BOOL bRepaint) {
    if (m_pWidget.isNull()) {
        return;
    }
    m_pWidget->setGeometry(x, y, nWidth, nHeight);
    if (bRepaint) {
        m_pWidget->update();
    }
}

void CWnd::GetClientRect(CRect* pRect) const {
    *pRect = CRect{};
    if (!m_pWidget.isNull()) {
        *pRect = CRect{0, 0, m_pWidget->width(), m_pWidget->height()};
    }
}

void CWnd::ScreenToClient(CPoint* pPoint) const {
    if (!m_pWidget.isNull()) {
        const QPoint point = m_pWidget->mapFromGlobal(QPoint(pPoint->x, pPoint->y));
        *pPoint = CPoint{point.x(), point.y()};
    }
}

void CWnd::ClientToScreen(CPoint* pPoint) const {
    if (!m_pWidget.isNull()) {
        const QPoint point = m_pWidget->mapToGlobal(QPoint(pPoint->x, pPoint->y));
        *pPoint = CPoint{point.x(), point.y()};
    }
}

void CWnd::Invalidate(BOOL) {
    if (!m_pWidget.isNull()) {
        m_pWidget->update();
    }
}

void CWnd::UpdateWindow() {
    if (!m_pWidget.isNull()) {
        m_pWidget->repaint();
    }
}

LRESULT CWnd::SendMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return WindowProc(message, wParam, lParam);
}

BOOL CWnd::PostMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (m_pWidget.isNull()) {
        return FALSE;
    }
    QPointer<QWidget> pWidget = m_pWidget;
    QMetaObject::invokeMethod(
        pWidget,
        [pWidget, message, wParam, lParam] {
            if (CWnd* pWnd = FromWidget(pWidget)) {
                pWnd->SendMessage(message, wParam, lParam);
            }
        },
        Qt::QueuedConnection);
    return TRUE;
}

LRESULT CWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    for (auto it = m_messages.rbegin(); it != m_messages.rend(); ++it) {
        if (it->first == message) {
            return it->second(wParam, lParam);
        }
    }
    switch (message) {
    case WM_COMMAND:
        return OnCommand(wParam, lParam);
    case WM_CLOSE:
        OnClose();
        return 0;
    default:
        return 0;
    }
}

BOOL CWnd::OnCommand(WPARAM wParam, LPARAM) {
    return OnCmdMsg(LOWORD(wParam), HIWORD(wParam), nullptr, nullptr);
}

void CWnd::OnClose() {
    DestroyWindow();
}

void CWnd::OnInitMenuPopup(CMenu*, UINT, BOOL) {}

BOOL CWnd::PreTranslateEvent(QEvent*) {
    return FALSE;
}

void CWnd::AddMessageEntry(UINT message, std::function<LRESULT(WPARAM, LPARAM)> handler) {
    m_messages.emplace_back(message, std::move(handler));
}

CWnd* AfxGetMainWnd() {
    CWinApp* pApp = AfxGetApp();
    return pApp != nullptr ? pApp->m_pMainWnd : nullptr;
}
