#include "framework/ControlBars.h"

#include "framework/ControlWidgets.h"
#include "framework/FrameWnd.h"
#include "framework/MessageBox.h"
#include "framework/QtText.h"
#include "framework/ResourceTemplates.h"

#include <QAction>
#include <QIcon>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>
#include <QToolBar>

namespace {

Qt::ToolBarAreas AreasOf(DWORD dwDockStyle) {
    Qt::ToolBarAreas areas;
    if (dwDockStyle & CBRS_ALIGN_LEFT) {
        areas |= Qt::LeftToolBarArea;
    }
    if (dwDockStyle & CBRS_ALIGN_TOP) {
        areas |= Qt::TopToolBarArea;
    }
    if (dwDockStyle & CBRS_ALIGN_RIGHT) {
        areas |= Qt::RightToolBarArea;
    }
    if (dwDockStyle & CBRS_ALIGN_BOTTOM) {
        areas |= Qt::BottomToolBarArea;
    }
    return areas;
}

CFrameWnd* FrameOf(CWnd* pParentWnd) {
    return dynamic_cast<CFrameWnd*>(pParentWnd);
}

} // namespace

void CControlBar::SetBarStyle(DWORD dwStyle) {
    m_dwStyle = dwStyle;
}

void CControlBar::EnableDocking(DWORD dwDockStyle) {
    m_dwDockStyle = dwDockStyle;
    if (auto* pToolBar = qobject_cast<QToolBar*>(GetWidget())) {
        pToolBar->setAllowedAreas(AreasOf(dwDockStyle));
        pToolBar->setMovable(dwDockStyle != 0);
    }
}

QToolBar* CToolBar::GetToolBar() const {
    return qobject_cast<QToolBar*>(GetWidget());
}

BOOL CToolBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    CFrameWnd* pFrame = FrameOf(pParentWnd);
    if (pFrame == nullptr || pFrame->GetMainWindow() == nullptr) {
        return FALSE;
    }
    auto* pToolBar = new QToolBar(pFrame->GetMainWindow());
    pToolBar->setMovable(false);
    pToolBar->setFloatable(false);
    pToolBar->toggleViewAction()->setVisible(false);
    klt::SetControlId(pToolBar, static_cast<int>(nID));
    Attach(pToolBar);
    pFrame->GetMainWindow()->addToolBar(
        (dwStyle & CBRS_ALIGN_BOTTOM) != 0 ? Qt::BottomToolBarArea : Qt::TopToolBarArea, pToolBar);
    pToolBar->setVisible((dwStyle & WS_VISIBLE) != 0);
    SetBarStyle(dwStyle);
    pFrame->AddControlBar(this);
    return TRUE;
}

BOOL CToolBar::LoadToolBar(UINT nIDResource) {
    QToolBar* pToolBar = GetToolBar();
    const klt::res::ToolbarTemplate* pTemplate = klt::AfxGetResources().FindToolbar(nIDResource);
    if (pToolBar == nullptr || pTemplate == nullptr) {
        return FALSE;
    }
    pToolBar->clear();
    for (UINT nID : pTemplate->buttons) {
        if (nID == ID_SEPARATOR) {
            pToolBar->addSeparator();
            continue;
        }
        const char* icon = klt::AfxGetResources().IconForCommand(nID);
        QAction* pAction = pToolBar->addAction(icon != nullptr ? QIcon(QString::fromLatin1(icon)) : QIcon(),
                                               klt::ToQString(klt::CommandToolTip(nID)));
        pAction->setData(nID);
        QObject::connect(pAction, &QAction::triggered, pToolBar, [pToolBar, nID] {
            if (auto* pFrame = dynamic_cast<CFrameWnd*>(CWnd::FromWidget(pToolBar->window()))) {
                pFrame->SendMessage(WM_COMMAND, nID, 0);
            }
        });
    }
    SetBarStyle(GetBarStyle());
    return TRUE;
}

void CToolBar::SetBarStyle(DWORD dwStyle) {
    CControlBar::SetBarStyle(dwStyle);
    QToolBar* pToolBar = GetToolBar();
    if (pToolBar == nullptr) {
        return;
    }
    for (QAction* pAction : pToolBar->actions()) {
        const UINT nID = pAction->data().toUInt();
        if (nID == 0) {
            continue;
        }
        pAction->setToolTip((dwStyle & CBRS_TOOLTIPS) != 0 ? klt::ToQString(klt::CommandToolTip(nID))
                                                           : QString());
        pAction->setStatusTip((dwStyle & CBRS_FLYBY) != 0 ? klt::ToQString(klt::CommandPrompt(nID))
                                                          : QString());
    }
}

std::vector<UINT> CToolBar::GetButtonIds() const {
    std::vector<UINT> ids;
    if (QToolBar* pToolBar = GetToolBar()) {
        for (QAction* pAction : pToolBar->actions()) {
            ids.push_back(pAction->isSeparator() ? ID_SEPARATOR : pAction->data().toUInt());
        }
    }
    return ids;
}

void CToolBar::UpdateButtons(CFrameWnd* pTarget) {
    QToolBar* pToolBar = GetToolBar();
    if (pToolBar == nullptr || pToolBar->isHidden()) {
        return;
    }
    UINT nIndex = 0;
    for (QAction* pAction : pToolBar->actions()) {
        if (!pAction->isSeparator()) {
            CCmdUI state;
            state.m_nID = pAction->data().toUInt();
            state.m_nIndex = nIndex;
            state.m_pAction = pAction;
            state.DoUpdate(pTarget, TRUE);
        }
        ++nIndex;
    }
}

QStatusBar* CStatusBar::GetStatusBar() const {
    return qobject_cast<QStatusBar*>(GetWidget());
}

BOOL CStatusBar::Create(CWnd* pParentWnd, DWORD dwStyle, UINT nID) {
    CFrameWnd* pFrame = FrameOf(pParentWnd);
    if (pFrame == nullptr || pFrame->GetMainWindow() == nullptr) {
        return FALSE;
    }
    QStatusBar* pStatusBar = pFrame->GetMainWindow()->statusBar();
    klt::SetControlId(pStatusBar, static_cast<int>(nID));
    Attach(pStatusBar);
    pStatusBar->setVisible((dwStyle & WS_VISIBLE) != 0);
    SetBarStyle(dwStyle);
    pFrame->AddControlBar(this);
    return TRUE;
}

BOOL CStatusBar::SetIndicators(const UINT* lpIDArray, int nIDCount) {
    QStatusBar* pStatusBar = GetStatusBar();
    if (pStatusBar == nullptr) {
        return FALSE;
    }
    for (QLabel* pLabel : m_labels) {
        pStatusBar->removeWidget(pLabel);
        delete pLabel;
    }
    m_labels.clear();
    m_panes.assign(lpIDArray, lpIDArray + nIDCount);
    for (UINT nID : m_panes) {
        auto* pLabel = new QLabel(pStatusBar);
        if (nID == ID_SEPARATOR) {
            // The message pane: "Ready" unless a message or a command's prompt covers it.
            pLabel->setText(klt::ToQString(klt::LoadString(AFX_IDS_IDLEMESSAGE)));
            pStatusBar->addWidget(pLabel, 1);
        } else {
            const QString text = klt::ToQString(klt::LoadString(nID));
            pLabel->setMinimumWidth(pLabel->fontMetrics().horizontalAdvance(text) + 8);
            pLabel->setAlignment(Qt::AlignCenter);
            pLabel->setFrameStyle(QFrame::Panel | QFrame::Sunken); // an empty pane still shows its place
            pStatusBar->addPermanentWidget(pLabel);
        }
        m_labels.push_back(pLabel);
    }
    return TRUE;
}

void CStatusBar::SetMessageText(const std::string& text) {
    if (QStatusBar* pStatusBar = GetStatusBar()) {
        if (text.empty()) {
            pStatusBar->clearMessage();
        } else {
            pStatusBar->showMessage(klt::ToQString(text));
        }
    }
}

std::string CStatusBar::GetMessageText() const {
    QStatusBar* pStatusBar = GetStatusBar();
    if (pStatusBar == nullptr) {
        return {};
    }
    if (!pStatusBar->currentMessage().isEmpty()) {
        return klt::ToBytes(pStatusBar->currentMessage());
    }
    return GetPaneText(0);
}

std::string CStatusBar::GetPaneText(int nIndex) const {
    if (nIndex < 0 || nIndex >= static_cast<int>(m_labels.size())) {
        return {};
    }
    return klt::ToBytes(m_labels[static_cast<size_t>(nIndex)]->text());
}

void CStatusBar::UpdateIndicators(CFrameWnd* pTarget) {
    for (size_t i = 0; i < m_panes.size(); ++i) {
        if (m_panes[i] == ID_SEPARATOR) {
            continue;
        }
        CCmdUI state;
        state.m_nID = m_panes[i];
        state.m_nIndex = static_cast<UINT>(i);
        state.DoUpdate(pTarget, FALSE);
        // An indicator shows its text while its key is on.
        m_labels[i]->setText(state.m_bEnabled ? klt::ToQString(klt::LoadString(m_panes[i])) : QString());
    }
}
