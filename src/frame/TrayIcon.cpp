#include "frame/TrayIcon.h"

#include "res/Resources.h"

#include <QCursor>
#include <QSystemTrayIcon>

namespace {

// The tip holds at most 63 bytes.
constexpr size_t kMaxTip = 63;

std::function<bool()>& HostQuery() {
    static std::function<bool()> query;
    return query;
}

UINT MouseMessageOf(QSystemTrayIcon::ActivationReason reason) {
    switch (reason) {
    case QSystemTrayIcon::Context:
        return WM_RBUTTONUP;
    case QSystemTrayIcon::DoubleClick:
        return WM_LBUTTONDBLCLK;
    case QSystemTrayIcon::MiddleClick:
        return WM_MBUTTONUP;
    default:
        return WM_LBUTTONUP;
    }
}

} // namespace

CTrayIcon::CTrayIcon(UINT uID) : m_uID(uID), m_strTip(klt::LoadString(uID).substr(0, kMaxTip)) {}

CTrayIcon::~CTrayIcon() {
    ShowResourceIcon(0);
}

void CTrayIcon::SetCallbackWindow(CWnd* pWnd, UINT uCallbackMessage) {
    m_pCallbackWnd = pWnd;
    m_uCallbackMessage = uCallbackMessage;
}

BOOL CTrayIcon::ShowResourceIcon(UINT nResourceId) {
    if (nResourceId == 0) {
        return ApplyIcon(QIcon());
    }
    m_strTip = klt::LoadString(nResourceId).substr(0, kMaxTip);
    const char* path = klt::AfxGetResources().IconForResource(nResourceId);
    return ApplyIcon(path != nullptr ? QIcon(QString::fromLatin1(path)) : QIcon());
}

BOOL CTrayIcon::ApplyIcon(const QIcon& icon) {
    Operation operation = Operation::remove;
    if (!icon.isNull()) {
        operation = IsShown() ? Operation::modify : Operation::add;
        m_icon = icon;
    } else if (!IsShown()) {
        return TRUE;
    }
    const BOOL bResult = Notify(operation);
    if (operation == Operation::remove || !bResult) {
        m_icon = QIcon();
    }
    return bResult;
}

BOOL CTrayIcon::Notify(Operation operation) {
    if (operation == Operation::remove) {
        m_pTrayIcon.reset();
        return TRUE;
    }
    if (m_pTrayIcon == nullptr) {
        m_pTrayIcon = std::make_unique<QSystemTrayIcon>();
        QObject::connect(
            m_pTrayIcon.get(), &QSystemTrayIcon::activated, [this](QSystemTrayIcon::ActivationReason reason) {
                if (m_pCallbackWnd != nullptr && m_uCallbackMessage != 0) {
                    m_pCallbackWnd->SendMessage(m_uCallbackMessage, m_uID, MouseMessageOf(reason));
                }
            });
    }
    m_pTrayIcon->setIcon(m_icon);
    if (!m_strTip.empty()) {
        m_pTrayIcon->setToolTip(klt::ToQString(m_strTip));
    }
    if (operation == Operation::modify) {
        return TRUE;
    }
    // Shown even without a notification area: the toolkit puts the icon there once one appears.
    m_pTrayIcon->show();
    return klt::IsTrayHostAvailable();
}

LRESULT CTrayIcon::HandleTrayMessage(UINT uID, UINT uMouseMessage) {
    if (uID != m_uID || (uMouseMessage != WM_RBUTTONUP && uMouseMessage != WM_LBUTTONDBLCLK) ||
        m_pCallbackWnd == nullptr) {
        return 0;
    }
    CMenu menu;
    if (!menu.LoadMenu(m_uID)) {
        return 0;
    }
    CMenu* pPopup = menu.GetSubMenu(0);
    if (pPopup == nullptr) {
        return 0;
    }
    if (uMouseMessage == WM_RBUTTONUP) {
        pPopup->SetDefaultItem(0, TRUE);
        const QPoint cursor = QCursor::pos();
        klt::BringToFront(*m_pCallbackWnd);
        pPopup->TrackPopupMenu(TPM_LEFTALIGN | TPM_LEFTBUTTON, cursor.x(), cursor.y(), m_pCallbackWnd);
    } else {
        m_pCallbackWnd->SendMessage(WM_COMMAND, pPopup->GetMenuItemID(0));
    }
    menu.DestroyMenu();
    return 1;
}

namespace klt {

bool IsTrayHostAvailable() {
    return HostQuery() ? HostQuery()() : QSystemTrayIcon::isSystemTrayAvailable();
}

void SetTrayHostQuery(std::function<bool()> query) {
    HostQuery() = std::move(query);
}

void BringToFront(CWnd& window) {
    if (window.IsWindowVisible() && !window.IsIconic()) {
        window.SetForegroundWindow();
    }
}

} // namespace klt
