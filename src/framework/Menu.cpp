#include "framework/Menu.h"

#include "framework/MessageBox.h"
#include "framework/ModalSeam.h"
#include "framework/QtText.h"
#include "framework/ResourceTemplates.h"
#include "framework/Wnd.h"

#include <QMenu>

CMenu::CMenu() = default;
CMenu::~CMenu() {
    DestroyMenu();
}

namespace {

void AddItems(QMenu* pMenu, const std::vector<klt::res::MenuItem>& items,
              std::vector<std::unique_ptr<CMenu>>& subMenus,
              const std::function<std::unique_ptr<CMenu>(const klt::res::MenuItem&, QMenu*)>& makeSub) {
    for (const klt::res::MenuItem& item : items) {
        if (item.IsSeparator()) {
            pMenu->addSeparator();
            subMenus.emplace_back();
        } else if (item.IsPopup()) {
            subMenus.push_back(makeSub(item, pMenu));
        } else {
            QAction* pAction = pMenu->addAction(klt::ToQString(item.text));
            pAction->setData(item.id);
            pAction->setStatusTip(klt::ToQString(klt::CommandPrompt(item.id)));
            subMenus.emplace_back();
        }
    }
}

// A popup of a loaded menu: its QMenu belongs to the parent QMenu.
class CPopupMenu : public CMenu {
public:
    CPopupMenu(const klt::res::MenuItem& item, QMenu* pParent) { Build(item, pParent); }
};

} // namespace

BOOL CMenu::LoadMenu(UINT nIDResource) {
    const klt::res::MenuTemplate* pTemplate = klt::AfxGetResources().FindMenu(nIDResource);
    if (pTemplate == nullptr) {
        return FALSE;
    }
    DestroyMenu();
    m_pOwned = std::make_unique<QMenu>();
    m_pMenu = m_pOwned.get();
    AddItems(m_pMenu, pTemplate->items, m_subMenus, [](const klt::res::MenuItem& item, QMenu* pParent) {
        return std::unique_ptr<CMenu>(std::make_unique<CPopupMenu>(item, pParent));
    });
    return TRUE;
}

void CMenu::Build(const klt::res::MenuItem& item, QMenu* pParent) {
    m_pMenu = pParent->addMenu(klt::ToQString(item.text));
    AddItems(m_pMenu, item.popup, m_subMenus, [](const klt::res::MenuItem& sub, QMenu* pSubParent) {
        return std::unique_ptr<CMenu>(std::make_unique<CPopupMenu>(sub, pSubParent));
    });
}

BOOL CMenu::DestroyMenu() {
    const bool bHadMenu = m_pMenu != nullptr;
    m_subMenus.clear();
    m_pOwned.reset();
    m_pMenu = nullptr;
    return bHadMenu;
}

CMenu* CMenu::GetSubMenu(int nPos) const {
    if (nPos < 0 || static_cast<size_t>(nPos) >= m_subMenus.size()) {
        return nullptr;
    }
    return m_subMenus[static_cast<size_t>(nPos)].get();
}

UINT CMenu::GetMenuItemCount() const {
    return m_pMenu != nullptr ? static_cast<UINT>(m_pMenu->actions().size()) : static_cast<UINT>(-1);
}

UINT CMenu::GetMenuItemID(int nPos) const {
    if (m_pMenu == nullptr || nPos < 0 || nPos >= m_pMenu->actions().size()) {
        return static_cast<UINT>(-1);
    }
    QAction* pAction = m_pMenu->actions().at(nPos);
    return pAction->menu() != nullptr ? static_cast<UINT>(-1) : pAction->data().toUInt();
}

BOOL CMenu::SetDefaultItem(UINT uItem, BOOL fByPos) {
    if (m_pMenu == nullptr) {
        return FALSE;
    }
    const auto actions = m_pMenu->actions();
    for (int nPos = 0; nPos < actions.size(); ++nPos) {
        QAction* pAction = actions.at(nPos);
        if (fByPos ? nPos == static_cast<int>(uItem)
                   : (!pAction->isSeparator() && pAction->data().toUInt() == uItem)) {
            m_pMenu->setDefaultAction(pAction);
            return TRUE;
        }
    }
    return FALSE;
}

BOOL CMenu::TrackPopupMenu(UINT nFlags, int x, int y, CWnd* pWnd, const CRect*) {
    if (m_pMenu == nullptr) {
        return FALSE;
    }
    if (pWnd != nullptr) {
        pWnd->OnInitMenuPopup(this, 0, FALSE);
    }
    const UINT nCommand = klt::CurrentModalSeam().PopupMenu(*m_pMenu, QPoint(x, y));
    if ((nFlags & TPM_RETURNCMD) != 0) {
        return static_cast<BOOL>(nCommand);
    }
    if (nCommand != 0 && pWnd != nullptr) {
        pWnd->PostMessage(WM_COMMAND, nCommand, 0);
    }
    return TRUE;
}
