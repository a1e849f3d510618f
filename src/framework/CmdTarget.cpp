#include "framework/CmdTarget.h"

#include "framework/QtText.h"
#include "framework/WinApp.h"

#include <QAction>

void CCmdUI::Enable(BOOL bOn) {
    m_bEnabled = bOn != FALSE;
    m_bEnableChanged = true;
    if (m_pAction != nullptr) {
        m_pAction->setEnabled(m_bEnabled);
    }
}

void CCmdUI::SetCheck(int nCheck) {
    m_nCheck = nCheck;
    if (m_pAction != nullptr) {
        m_pAction->setCheckable(true);
        m_pAction->setChecked(nCheck != 0);
    }
}

void CCmdUI::SetText(const std::string& text) {
    if (m_pAction != nullptr) {
        m_pAction->setText(klt::ToQString(text));
    }
}

BOOL CCmdUI::DoUpdate(CCmdTarget* pTarget, BOOL bDisableIfNoHandler) {
    m_bEnableChanged = false;
    const BOOL bAnswered = pTarget->OnCmdMsg(m_nID, CN_UPDATE_COMMAND_UI, this, nullptr);
    if (bDisableIfNoHandler && !m_bEnableChanged) {
        AFX_CMDHANDLERINFO info;
        Enable(pTarget->OnCmdMsg(m_nID, CN_COMMAND, nullptr, &info));
    }
    return bAnswered;
}

CCmdTarget::CCmdTarget() = default;
CCmdTarget::~CCmdTarget() = default;

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) {
    const Entry* pEntry = FindEntry(nCode, nID);
    if (pEntry == nullptr) {
        return FALSE;
    }
    if (pHandlerInfo != nullptr) {
        pHandlerInfo->pTarget = this;
        return TRUE;
    }
    if (nCode == CN_UPDATE_COMMAND_UI) {
        pEntry->update(static_cast<CCmdUI*>(pExtra));
    } else {
        pEntry->run(nID);
    }
    return TRUE;
}

void CCmdTarget::AddEntry(int nCode, UINT nFirst, UINT nLast, std::function<void(UINT)> run,
                          std::function<void(CCmdUI*)> update) {
    m_entries.push_back({nCode, nFirst, nLast, std::move(run), std::move(update)});
}

const CCmdTarget::Entry* CCmdTarget::FindEntry(int nCode, UINT nID) const {
    // The latest registration wins: a derived class maps after its base.
    for (auto it = m_entries.rbegin(); it != m_entries.rend(); ++it) {
        if (it->nCode == nCode && nID >= it->nFirst && nID <= it->nLast) {
            return &*it;
        }
    }
    return nullptr;
}
