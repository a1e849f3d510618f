// Merge: copies the entries of another password file into the open one. The other file is read into
// a temporary document by the document's own open routine, so it is checked and, when protected,
// unlocked exactly as a file that is opened. Entries are matched by exact system name: new names
// are added, identical entries only have their times brought together, and for an entry whose
// user name or password differs the user decides whether the incoming one replaces it.

#include "ConfirmReplaceDlg.h"
#include "KLTDoc.h"
#include "KLTView.h"
#include "MessageBox.h"
#include "resource.h"

#include <memory>

namespace {

// Plain password files are written as ".klt". Where file names ignore letter case any form of the
// extension will do; here a name typed without one must get the form the files really have.
constexpr char kDefaultExt[] = "klt";

bool ConfirmReplace(const QMPassword& current, const QMPassword& incoming, CWnd* pParentWnd) {
    CConfirmReplaceDlg dlg(pParentWnd);
    dlg.m_strCurSystem = current.m_strSystem;
    dlg.m_strCurUserName = current.m_strUserName;
    dlg.m_strCurPassword = current.m_strPassword;
    dlg.m_timeCurLastChange = current.m_timeLastChange;
    dlg.m_strWithSystem = incoming.m_strSystem;
    dlg.m_strWithUserName = incoming.m_strUserName;
    dlg.m_strWithPassword = incoming.m_strPassword;
    dlg.m_timeWithLastChange = incoming.m_timeLastChange;
    return dlg.DoModal() == IDOK;
}

} // namespace

void CKLTView::OnFileMerge() {
    const std::string filter = klt::LoadString(IDS_OPEN_FILTER);
    CFileDialog fileDlg(TRUE, kDefaultExt, nullptr,
                        OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_FILEMUSTEXIST, filter.c_str(), this);
    if (fileDlg.DoModal() != IDOK) {
        return;
    }
    m_listBox.SetSel(-1, FALSE);

    CKLTDoc other;
    // The window brings back the open document's file, not the one merged into it.
    other.m_bRecordLastFile = false;
    // A refused or unreadable file has shown its own message and left the document empty, so
    // nothing is merged.
    other.OnOpenDocument(fileDlg.GetPathName());

    CKLTDoc* pDoc = GetDocument();
    bool bInterrupted = false;
    for (const auto& pIncoming : other.m_entryList) {
        const QMPassword& incoming = *pIncoming;
        QMPassword* pMatch = pDoc->FindEntry(incoming.m_strSystem);
        if (pMatch == nullptr) {
            auto pEntry = std::make_unique<QMPassword>(incoming.m_strSystem, incoming.m_strUserName,
                                                       incoming.m_strPassword, incoming.m_timeLastChange);
            AddEntryRow(pEntry.get());
            pDoc->m_entryList.push_back(std::move(pEntry));
            pDoc->SetModifiedFlag();
            continue;
        }
        if (pMatch->m_strUserName == incoming.m_strUserName &&
            pMatch->m_strPassword == incoming.m_strPassword) {
            // The later time wins; any difference counts as a change.
            if (pMatch->m_timeLastChange != incoming.m_timeLastChange) {
                if (pMatch->m_timeLastChange < incoming.m_timeLastChange) {
                    pMatch->m_timeLastChange = incoming.m_timeLastChange;
                }
                pDoc->SetModifiedFlag();
            }
            continue;
        }
        const unsigned nRebuilds = m_nRebuilds;
        const bool bReplace = ConfirmReplace(*pMatch, incoming, this);
        if (!IsStillHeld(pMatch, nRebuilds)) {
            // Another command emptied or refilled the document while the question was open: the
            // rest does not belong in whatever the document holds now.
            bInterrupted = true;
            break;
        }
        if (bReplace) {
            // The entry keeps its fourth text, and its row keeps its text, the same name.
            pMatch->m_strSystem = incoming.m_strSystem;
            pMatch->m_strUserName = incoming.m_strUserName;
            pMatch->m_strPassword = incoming.m_strPassword;
            pMatch->m_timeLastChange = incoming.m_timeLastChange;
            pDoc->SetModifiedFlag();
        }
    }

    other.DeleteContents();
    if (!bInterrupted) {
        AfxMessageBox(IDS_MERGE_COMPLETE, MB_OK | MB_ICONEXCLAMATION);
    }
}
