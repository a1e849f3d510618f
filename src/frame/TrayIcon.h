#pragma once
// The program's icon in the notification area ("System Tray"), with its tool tip and its menu. The
// icon's identifier is also the resource identifier of its icon, tip string and menu. Its
// notifications reach the callback window as a message (identifier, mouse message); that window
// hands them back to HandleTrayMessage.

#include "framework/Framework.h"

#include <QIcon>
#include <functional>
#include <memory>
#include <string>

class QSystemTrayIcon;

class CTrayIcon : public CCmdTarget {
public:
    explicit CTrayIcon(UINT uID);
    // The icon leaves the notification area with its owner.
    ~CTrayIcon() override;

    void SetCallbackWindow(CWnd* pWnd, UINT uCallbackMessage);
    // With an identifier: that tip string and icon are shown; with 0 the icon is removed.
    BOOL ShowResourceIcon(UINT nResourceId);
    // Adds, changes (a null icon: removes) the icon. An add that failed is tried again as an add the
    // next time.
    BOOL ApplyIcon(const QIcon& icon);
    // The right button shows the menu's first popup at the cursor, its first item the default; a
    // double click chooses that first item at once. 1 when handled.
    virtual LRESULT HandleTrayMessage(UINT uID, UINT uMouseMessage);

    bool IsShown() const { return !m_icon.isNull(); }
    const std::string& GetTip() const { return m_strTip; }

private:
    enum class Operation { add, modify, remove };
    BOOL Notify(Operation operation);

    UINT m_uID;
    CWnd* m_pCallbackWnd = nullptr;
    UINT m_uCallbackMessage = 0;
    QIcon m_icon; // null while no icon is shown
    std::string m_strTip;
    std::unique_ptr<QSystemTrayIcon> m_pTrayIcon;
};

namespace klt {

// Whether a notification area is there to hold the icon. Tests answer it themselves; an empty query
// asks the desktop again.
bool IsTrayHostAvailable();
void SetTrayHostQuery(std::function<bool()> query);

// Brings a window of the program to the front as the platform the program was designed for does: a
// hidden or minimised window stays as it is (an X11 window manager restores a minimised window that
// it is asked to activate).
void BringToFront(CWnd& window);

} // namespace klt
