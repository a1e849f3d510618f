#pragma once
// What the user sees of a frame's menu bar: an item as it shows once its popup opens (the update
// rules have run), so tests can check its state.

#include "framework/FrameWnd.h"
#include "framework/Menu.h"

#include <QAction>
#include <QMenu>

namespace klt::testing {

// The item nID of menu-bar popup nPopup, after the popup's update rules ran; null when absent.
inline QAction* MenuItemAsShown(CFrameWnd& frame, int nPopup, UINT nID) {
    CMenu* pPopup = frame.GetMenu()->GetSubMenu(nPopup);
    frame.OnInitMenuPopup(pPopup, static_cast<UINT>(nPopup), FALSE);
    for (QAction* pAction : pPopup->GetQMenu()->actions()) {
        if (pAction->data().toUInt() == nID) {
            return pAction;
        }
    }
    return nullptr;
}

} // namespace klt::testing
