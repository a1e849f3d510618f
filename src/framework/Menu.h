#pragma once
// Menus from the menu resources: the frame's menu bar, the context menu of the entry list, the
// tray menu. A popup's items show their commands' states from the update rules of its owner
// window; a chosen item reaches the owner as an ordinary command (posted, as the platform does).

#include "framework/AfxDefs.h"

#include <memory>
#include <string>
#include <vector>

class QMenu;
class CWnd;

namespace klt::res {
struct MenuItem;
}

class CMenu {
public:
    CMenu();
    ~CMenu();
    CMenu(const CMenu&) = delete;
    CMenu& operator=(const CMenu&) = delete;

    // Builds the menu resource nIDResource: a menu whose items are its popups.
    BOOL LoadMenu(UINT nIDResource);
    BOOL DestroyMenu();
    // The popup at position nPos, owned by this menu; null if there is none.
    CMenu* GetSubMenu(int nPos) const;
    UINT GetMenuItemCount() const;
    // The command at position nPos; 0 for a separator, -1 (as UINT) for a popup or a bad position.
    UINT GetMenuItemID(int nPos) const;
    // Shows the item in bold as the one a double click would choose.
    BOOL SetDefaultItem(UINT uItem, BOOL fByPos = FALSE);
    // Shows this popup at the screen point. Without TPM_RETURNCMD the chosen command is posted to
    // pWnd and the result is TRUE; with it the result is the command (0 for none).
    BOOL TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, const CRect* lpRect = nullptr);

    QMenu* GetQMenu() const { return m_pMenu; }

protected:
    // Makes this the popup item of pParent, with its items.
    void Build(const klt::res::MenuItem& item, QMenu* pParent);

private:
    std::unique_ptr<QMenu> m_pOwned; // a loaded menu owns its QMenu; a popup's belongs to its parent
    QMenu* m_pMenu = nullptr;
    std::vector<std::unique_ptr<CMenu>> m_subMenus; // per position: the popup there, or null
};
