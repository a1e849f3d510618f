// Merge: copies the entries of another password file into the open one. The other file is read into
// a temporary document by the document's own open routine, so it is checked and, when protected,
// unlocked exactly as a file that is opened. The store's merge rule brings the entries over; for an
// entry whose user name or password differs the user decides whether the incoming one replaces it.

#include "document/KLTDoc.h"
#include "framework/MessageBox.h"
#include "list/ConfirmReplaceDlg.h"
#include "list/KLTView.h"
#include "res/resource.h"
#include "store/EntryMerge.h"

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
    const auto decide = [this](QMPassword& current, const QMPassword& incoming) {
        const unsigned nRebuilds = m_nRebuilds;
        const bool bReplace = ConfirmReplace(current, incoming, this);
        // Another command may have emptied or refilled the document while the question was open:
        // the rest does not belong in whatever the document holds now.
        if (!IsStillHeld(&current, nRebuilds)) {
            return klt::MergeChoice::stop;
        }
        // A replaced entry keeps its fourth text, and its row keeps its text, the same name.
        return bReplace ? klt::MergeChoice::replace : klt::MergeChoice::keep;
    };
    const auto changed = [this, pDoc](QMPassword& entry, bool bAdded) {
        if (bAdded) {
            AddEntryRow(&entry);
        }
        pDoc->SetModifiedFlag();
    };
    const bool bInterrupted =
        klt::MergeEntries(pDoc->m_entryList, other.m_entryList, decide, changed).bStopped;

    other.DeleteContents();
    if (!bInterrupted) {
        AfxMessageBox(IDS_MERGE_COMPLETE, MB_OK | MB_ICONEXCLAMATION);
    }
}
