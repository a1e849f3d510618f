#include "framework/RecentFileList.h"

#include "framework/CmdTarget.h"
#include "framework/DocTemplate.h"
#include "framework/MessageBox.h"
#include "framework/QtText.h"
#include "framework/WinApp.h"

#include <QAction>
#include <QMenu>
#include <filesystem>

namespace klt {

std::string AbbreviatePath(const std::string& path, int nMax) {
    if (static_cast<int>(path.size()) <= nMax) {
        return path;
    }
    const size_t lastSlash = path.rfind('/');
    const std::string fileName = lastSlash == std::string::npos ? path : path.substr(lastSlash + 1);
    const std::string root = !path.empty() && path.front() == '/' ? "/" : "";
    // Drop folders after the root, from the first on, until "root.../rest" fits.
    size_t restStart = root.size();
    while (restStart < lastSlash + 1 && lastSlash != std::string::npos) {
        const size_t nextSlash = path.find('/', restStart);
        restStart = nextSlash + 1;
        const std::string candidate = root + ".../" + path.substr(restStart);
        if (static_cast<int>(candidate.size()) <= nMax) {
            return candidate;
        }
        if (nextSlash == lastSlash) {
            break;
        }
    }
    return fileName;
}

} // namespace klt

CRecentFileList::CRecentFileList(UINT nStart, const char* lpszSection, const char* lpszEntryFormat, int nSize,
                                 int nMaxDispLen)
    : m_nStart(nStart), m_strSection(lpszSection), m_strEntryFormat(lpszEntryFormat), m_nSize(nSize),
      m_nMaxDispLen(nMaxDispLen) {}

void CRecentFileList::Add(const std::string& path) {
    const std::string full = klt::FullPath(path);
    for (auto it = m_files.begin(); it != m_files.end(); ++it) {
        if (klt::IsSamePath(*it, full)) {
            m_files.erase(it);
            break;
        }
    }
    m_files.insert(m_files.begin(), full);
    if (static_cast<int>(m_files.size()) > m_nSize) {
        m_files.resize(static_cast<size_t>(m_nSize));
    }
}

void CRecentFileList::Remove(int nIndex) {
    if (nIndex >= 0 && nIndex < GetCount()) {
        m_files.erase(m_files.begin() + nIndex);
    }
}

void CRecentFileList::ReadList() {
    CWinApp* pApp = AfxGetApp();
    m_files.clear();
    for (int i = 0; i < m_nSize && pApp != nullptr; ++i) {
        const std::string entry = klt::Format(m_strEntryFormat, i + 1 + static_cast<int>(m_nStart));
        const std::string path = pApp->GetProfileString(m_strSection.c_str(), entry.c_str(), "");
        if (!path.empty()) {
            m_files.push_back(path);
        }
    }
}

void CRecentFileList::WriteList() const {
    CWinApp* pApp = AfxGetApp();
    if (pApp == nullptr) {
        return;
    }
    pApp->WriteProfileString(m_strSection.c_str(), nullptr, nullptr);
    for (int i = 0; i < GetCount(); ++i) {
        const std::string entry = klt::Format(m_strEntryFormat, i + 1 + static_cast<int>(m_nStart));
        pApp->WriteProfileString(m_strSection.c_str(), entry.c_str(), (*this)[i]);
    }
}

std::string CRecentFileList::GetDisplayName(int nIndex) const {
    const std::filesystem::path path((*this)[nIndex]);
    std::error_code error;
    const std::filesystem::path current = std::filesystem::current_path(error);
    if (!error && path.parent_path() == current) {
        return path.filename().string();
    }
    return klt::AbbreviatePath(path.string(), m_nMaxDispLen);
}

void CRecentFileList::UpdateMenu(CCmdUI* pCmdUI) const {
    QMenu* pMenu = pCmdUI->m_pMenu;
    QAction* pFirst = pCmdUI->m_pAction;
    if (pMenu == nullptr || pFirst == nullptr || pCmdUI->m_nID != ID_FILE_MRU_FILE1 + m_nStart) {
        return;
    }
    // The menu's own text for the item (its template's), shown while the list is empty.
    if (m_strEmptyItem.empty()) {
        m_strEmptyItem = pFirst->text().toStdString();
    }
    // Take away the entries shown last time, keep the first item as the list's place.
    const auto actions = pMenu->actions();
    for (QAction* pAction : actions) {
        const UINT nID = pAction->data().toUInt();
        if (pAction != pFirst && nID > ID_FILE_MRU_FILE1 + m_nStart &&
            nID < ID_FILE_MRU_FILE1 + m_nStart + 16) {
            pMenu->removeAction(pAction);
            delete pAction;
        }
    }
    if (m_files.empty()) {
        pFirst->setText(QString::fromStdString(m_strEmptyItem));
        pCmdUI->Enable(FALSE);
        return;
    }
    QAction* pBefore = nullptr;
    const auto after = pMenu->actions();
    const auto firstPos = after.indexOf(pFirst);
    if (firstPos + 1 < after.size()) {
        pBefore = after.at(firstPos + 1);
    }
    for (int i = 0; i < GetCount(); ++i) {
        std::string name = GetDisplayName(i);
        for (size_t pos = name.find('&'); pos != std::string::npos; pos = name.find('&', pos + 2)) {
            name.insert(pos, 1, '&');
        }
        const QString text = klt::ToQString("&" + std::to_string(i + 1) + " " + name);
        const UINT nID = ID_FILE_MRU_FILE1 + m_nStart + static_cast<UINT>(i);
        QAction* pAction = pFirst;
        if (i == 0) {
            pFirst->setText(text);
        } else {
            pAction = new QAction(text, pMenu);
            pAction->setData(nID);
            pMenu->insertAction(pBefore, pAction);
        }
        pAction->setStatusTip(klt::ToQString(klt::CommandPrompt(nID)));
        pAction->setEnabled(true);
    }
    pCmdUI->m_bEnabled = true;
    pCmdUI->m_bEnableChanged = true;
}
