// The frame's command sources: menu bar, accelerator keys, the idle update of toolbar and status
// bar, and the check that keeps a disabled command from running, whatever its source.

#include "framework/ControlBars.h"
#include "framework/FrameWnd.h"
#include "framework/Menu.h"
#include "framework/QtText.h"
#include "framework/ResourceTemplates.h"
#include "framework/View.h"
#include "framework/VirtualKeys.h"
#include "framework/WinApp.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QShortcut>

namespace klt {
namespace {

KeyToggleQuery& ToggleQuery() {
    static KeyToggleQuery query;
    return query;
}

QKeySequence KeyOf(WORD vk, BYTE flags, bool bKeypad) {
    int key = QtKeyFromVirtualKey(vk);
    if (bKeypad && key == Qt::Key_Return) {
        key = Qt::Key_Enter;
    }
    int modifiers = 0;
    if (flags & res::FCONTROL) {
        modifiers |= Qt::ControlModifier;
    }
    if (flags & res::FALT) {
        modifiers |= Qt::AltModifier;
    }
    if (flags & res::FSHIFT) {
        modifiers |= Qt::ShiftModifier;
    }
    // No keypad modifier in the sequence: the X11 key map reports the keypad's Enter without it when
    // shortcuts are matched, and Qt tries a keypad key without it when nothing else matched.
    return QKeySequence(key | modifiers);
}

} // namespace

void SetKeyToggleQuery(KeyToggleQuery query) {
    ToggleQuery() = std::move(query);
}

bool IsKeyToggled(WORD vk) {
    return ToggleQuery() && ToggleQuery()(vk);
}

} // namespace klt

BOOL CFrameWnd::OnCommand(WPARAM wParam, LPARAM lParam) {
    const UINT nID = LOWORD(wParam);
    const int nCode = HIWORD(wParam);
    if (lParam == 0 && nCode == CN_COMMAND) {
        // From a menu, a button, a key or another program: a disabled command does not run.
        CCmdUI state;
        state.m_nID = nID;
        OnCmdMsg(nID, CN_UPDATE_COMMAND_UI, &state, nullptr);
        if (!state.m_bEnabled) {
            return TRUE;
        }
    }
    return OnCmdMsg(nID, nCode, nullptr, nullptr);
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    if (m_pActiveView != nullptr && m_pActiveView->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) {
        return TRUE;
    }
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo)) {
        return TRUE;
    }
    CWinApp* pApp = AfxGetApp();
    return pApp != nullptr && pApp->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

void CFrameWnd::OnInitMenuPopup(CMenu* pPopupMenu, UINT, BOOL) {
    QMenu* pMenu = pPopupMenu->GetQMenu();
    if (pMenu == nullptr) {
        return;
    }
    // An update rule may change the menu (the recent-file list does), so walk a guarded copy.
    std::vector<QPointer<QAction>> actions;
    for (QAction* pAction : pMenu->actions()) {
        actions.emplace_back(pAction);
    }
    UINT nIndex = 0;
    for (const QPointer<QAction>& pAction : actions) {
        if (pAction.isNull() || pAction->isSeparator() || pAction->menu() != nullptr) {
            ++nIndex;
            continue;
        }
        CCmdUI state;
        state.m_nID = pAction->data().toUInt();
        state.m_nIndex = nIndex++;
        state.m_pMenu = pMenu;
        state.m_pAction = pAction;
        state.DoUpdate(this, TRUE);
    }
}

void CFrameWnd::OnIdleUpdateCmdUI() {
    for (CControlBar* pBar : m_bars) {
        if (auto* pToolBar = dynamic_cast<CToolBar*>(pBar)) {
            pToolBar->UpdateButtons(this);
        } else if (auto* pStatusBar = dynamic_cast<CStatusBar*>(pBar)) {
            pStatusBar->UpdateIndicators(this);
        }
    }
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* pCmdUI) {
    CControlBar* pBar = GetControlBar(pCmdUI->m_nID);
    if (pBar == nullptr) {
        pCmdUI->Enable(FALSE);
        return;
    }
    pCmdUI->Enable(TRUE);
    pCmdUI->SetCheck(pBar->GetWidget() != nullptr && !pBar->GetWidget()->isHidden() ? 1 : 0);
}

void CFrameWnd::OnBarCheck(UINT nID) {
    if (CControlBar* pBar = GetControlBar(nID); pBar != nullptr && pBar->GetWidget() != nullptr) {
        pBar->ShowWindow(pBar->GetWidget()->isHidden() ? SW_SHOW : SW_HIDE);
    }
}

void CFrameWnd::OnUpdateKeyIndicator(CCmdUI* pCmdUI) {
    WORD vk = VK_SCROLL;
    if (pCmdUI->m_nID == ID_INDICATOR_CAPS) {
        vk = VK_CAPITAL;
    } else if (pCmdUI->m_nID == ID_INDICATOR_NUM) {
        vk = VK_NUMLOCK;
    }
    pCmdUI->Enable(klt::IsKeyToggled(vk));
}

void CFrameWnd::BuildMenuBar(UINT nIDResource) {
    auto pMenu = std::make_unique<CMenu>();
    if (!pMenu->LoadMenu(nIDResource)) {
        return;
    }
    QMenuBar* pBar = GetMainWindow()->menuBar();
    for (UINT nPos = 0; nPos < pMenu->GetMenuItemCount(); ++nPos) {
        CMenu* pPopup = pMenu->GetSubMenu(static_cast<int>(nPos));
        if (pPopup == nullptr) {
            continue;
        }
        pBar->addMenu(pPopup->GetQMenu());
        QObject::connect(pPopup->GetQMenu(), &QMenu::aboutToShow, GetWidget(),
                         [this, pPopup, nPos] { OnInitMenuPopup(pPopup, nPos, FALSE); });
        QObject::connect(pPopup->GetQMenu(), &QMenu::triggered, GetWidget(), [this](QAction* pAction) {
            if (pAction->menu() == nullptr && pAction->data().toUInt() != 0) {
                PostMessage(WM_COMMAND, pAction->data().toUInt(), 0);
            }
        });
    }
    m_pMenu = std::move(pMenu);
}

void CFrameWnd::InstallDesktopKeys() {
    QWidget* pWindow = GetWidget();
    // F10 opens the menu bar's first menu.
    auto* pMenuKey = new QShortcut(QKeySequence(Qt::Key_F10), pWindow);
    QObject::connect(pMenuKey, &QShortcut::activated, pWindow, [this] {
        QMenuBar* pBar = GetMainWindow()->menuBar();
        if (!pBar->actions().isEmpty()) {
            pBar->setActiveAction(pBar->actions().front());
        }
    });
    // Shift+F10 asks the control with the focus for its context menu, as the Menu key does.
    auto* pContextKey = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), pWindow);
    QObject::connect(pContextKey, &QShortcut::activated, pWindow, [pWindow] {
        QWidget* pFocus = QApplication::focusWidget();
        if (pFocus == nullptr || pFocus->window() != pWindow) {
            return;
        }
        const QPoint pos = pFocus->rect().center();
        QContextMenuEvent event(QContextMenuEvent::Keyboard, pos, pFocus->mapToGlobal(pos));
        QApplication::sendEvent(pFocus, &event);
    });
}

void CFrameWnd::InstallAccelerators(UINT nIDResource) {
    InstallDesktopKeys();
    const klt::res::AcceleratorTable* pTable = klt::AfxGetResources().FindAccelerators(nIDResource);
    if (pTable == nullptr) {
        return;
    }
    for (const klt::res::Accelerator& accelerator : pTable->keys) {
        std::vector<QKeySequence> keys{klt::KeyOf(accelerator.key, accelerator.flags, false)};
        if (accelerator.key == VK_RETURN) {
            keys.push_back(klt::KeyOf(accelerator.key, accelerator.flags, true)); // the keypad's Enter
        }
        for (const QKeySequence& key : keys) {
            auto* pShortcut = new QShortcut(key, GetWidget());
            pShortcut->setContext(Qt::WindowShortcut);
            pShortcut->setAutoRepeat(true);
            const UINT nCommand = accelerator.command;
            QObject::connect(pShortcut, &QShortcut::activated, GetWidget(),
                             [this, nCommand] { SendMessage(WM_COMMAND, nCommand, 0); });
        }
    }
}
