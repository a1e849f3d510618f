// The entry commands of the list: Add, Delete, Properties and File Password. Each keeps the rows and
// the document's entry list in step and sets the modified flag as soon as it has changed anything.

#include "document/KLTDoc.h"
#include "list/DocumentEntries.h"
#include "list/KLTView.h"
#include "list/LongList.h"
#include "list/NewEntryDlg.h"
#include "list/PropertiesDlg.h"
#include "res/resource.h"

#include <ctime>
#include <memory>
#include <unordered_set>
#include <vector>

namespace {

void ShowDuplicateSystem() {
    AfxMessageBox(IDS_DUPLICATE_SYSTEM, MB_OK | MB_ICONEXCLAMATION);
}

} // namespace

void CKLTView::OnEditAdd() {
    CKLTDoc* pDoc = GetDocument();
    CNewEntryDlg dlg;
    // The same dialog again after a refused name, so the user's texts reappear as typed.
    for (;;) {
        if (dlg.DoModal() != IDOK) {
            return;
        }
        if (!IsNameTaken(dlg.m_strSystem)) {
            break;
        }
        ShowDuplicateSystem();
    }

    // The new row becomes the caret row; the old caret row loses its mark, other marks stay.
    const int nCaret = m_listBox.GetCaretIndex();
    if (nCaret >= 0) {
        m_listBox.SetSel(nCaret, FALSE);
    }
    auto pEntry = std::make_unique<QMPassword>(dlg.m_strSystem, dlg.m_strUserName, dlg.m_strPassword,
                                               static_cast<int32_t>(std::time(nullptr)));
    const int nIndex = AddEntryRow(pEntry.get());
    pDoc->m_entryList.push_back(std::move(pEntry));
    pDoc->SetModifiedFlag();
    MarkAsCurrent(nIndex);
}

void CKLTView::OnEditDelete() {
    if (m_listBox.GetSelCount() > 1) {
        DeleteMarkedEntries();
        return;
    }
    // One marked row: the entry is the caret row's, wherever the mark is.
    const int nCaret = m_listBox.GetCaretIndex();
    QMPassword* pEntry = nCaret < 0 ? nullptr : EntryAt(nCaret);
    if (pEntry == nullptr) {
        return;
    }
    const unsigned nRebuilds = m_nRebuilds;
    if (AfxMessageBox(klt::FormatString(IDS_DELETE_ENTRY, pEntry->m_strSystem),
                      MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK) {
        return;
    }
    // Rows only ever point at entries the document holds: a caret row that still points at the
    // entry answers both questions without a pass over the document.
    const bool bCaretRow = m_nRebuilds == nRebuilds && EntryAt(nCaret) == pEntry;
    if (!bCaretRow && !IsStillHeld(pEntry, nRebuilds)) {
        return;
    }
    const int nIndex = bCaretRow ? nCaret : FindEntryIndex(pEntry);
    if (nIndex < 0) {
        return;
    }
    CKLTDoc* pDoc = GetDocument();
    pDoc->SetModifiedFlag();
    m_listBox.DeleteString(static_cast<UINT>(nIndex));
    klt::RemoveEntry(*pDoc, pEntry);
}

void CKLTView::DeleteMarkedEntries() {
    if (AfxMessageBox(IDS_DELETE_MARKED, MB_OKCANCEL | MB_ICONEXCLAMATION) != IDOK) {
        return;
    }
    const std::vector<int> marked = klt::MarkedRows(m_listBox);
    if (marked.empty()) {
        return; // a command run while the question was open has rebuilt the list
    }

    std::unordered_set<const QMPassword*> entries;
    entries.reserve(marked.size());
    for (const int nIndex : marked) {
        if (const QMPassword* pEntry = EntryAt(nIndex)) {
            entries.insert(pEntry);
        }
    }
    // The marks go first: the list would otherwise recompute the area of all remaining marks at
    // every run of rows it removes. The rows go before their entries are freed, so that no row ever
    // points at a freed entry.
    m_listBox.SetSel(-1, FALSE);
    m_listBox.DeleteRows(marked);
    CKLTDoc* pDoc = GetDocument();
    pDoc->SetModifiedFlag();
    klt::RemoveEntries(*pDoc, entries);
}

void CKLTView::OnEditProperties() {
    QMPassword* pEntry = GetCurrentEntry();
    if (pEntry == nullptr) {
        return;
    }
    CKLTDoc* pDoc = GetDocument();
    CPropertiesDlg dlg;
    dlg.m_strSystem = pEntry->m_strSystem;
    dlg.m_strUserName = pEntry->m_strUserName;
    dlg.m_strPassword = pEntry->m_strPassword;
    dlg.m_timeLastChange = pEntry->m_timeLastChange;
    const unsigned nRebuilds = m_nRebuilds;
    // A refused name brings the same dialog back with the edited texts, the stamped time and the
    // edited flags.
    for (;;) {
        if (dlg.DoModal() != IDOK) {
            return;
        }
        if (!IsStillHeld(pEntry, nRebuilds)) {
            return;
        }
        if (!IsNameTaken(dlg.m_strSystem, pEntry)) {
            break;
        }
        ShowDuplicateSystem();
    }

    // The row is found by the name it shows, before the entry takes its new one.
    const int nOldIndex = FindEntryIndex(pEntry);
    pEntry->m_strSystem = dlg.m_strSystem;
    pEntry->m_strUserName = dlg.m_strUserName;
    pEntry->m_strPassword = dlg.m_strPassword;
    pEntry->m_timeLastChange = dlg.m_timeLastChange;
    pDoc->SetModifiedFlag();
    // A renamed entry moves to its new sorted place and stays the current entry; every other mark
    // goes, as after a rebuild, but the other rows stay where they are.
    m_listBox.SetSel(-1, FALSE);
    if (nOldIndex >= 0) {
        m_listBox.DeleteString(static_cast<UINT>(nOldIndex));
    }
    MarkAsCurrent(AddEntryRow(pEntry));
    m_listBox.SetFocus();
}

void CKLTView::OnFilePassword() {
    CKLTDoc* pDoc = GetDocument();
    if (pDoc->m_masterPassword.ChangePassword()) {
        pDoc->SetModifiedFlag();
    }
}
