#include "list/KLTView.h"

#include "document/KLTDoc.h"
#include "list/DocumentEntries.h"
#include "list/LongList.h"
#include "res/resource.h"

#include <algorithm>

namespace {

// Child, visible, vertical scroll bar, double-click notification, sorted, sized exactly to the view
// (the last visible row may be cut off), extended selection; no border, no tab stop.
constexpr DWORD kListStyle =
    WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | LBS_SORT | LBS_NOINTEGRALHEIGHT | LBS_EXTENDEDSEL;
static_assert(kListStyle == 0x50200903);

} // namespace

CKLTView::CKLTView() {
    MapCommand(ID_EDIT_ADD, &CKLTView::OnEditAdd);
    MapCommand(ID_EDIT_DELETE, &CKLTView::OnEditDelete);
    MapUpdate(ID_EDIT_DELETE, &CKLTView::OnUpdateNeedEntry);
    MapCommand(ID_EDIT_PROPERTIES, &CKLTView::OnEditProperties);
    MapUpdate(ID_EDIT_PROPERTIES, &CKLTView::OnUpdateNeedEntry);
    MapCommand(ID_FILE_PASSWORD, &CKLTView::OnFilePassword);
    MapUpdate(ID_FILE_PASSWORD, &CKLTView::OnUpdateFilePassword);
    MapCommand(ID_FILE_MERGE, &CKLTView::OnFileMerge);
    MapNotify(LBN_DBLCLK, IDC_VIEW_LIST, &CKLTView::OnEditProperties);
}

CKLTView::~CKLTView() = default;

CKLTDoc* CKLTView::GetDocument() const {
    return static_cast<CKLTDoc*>(CView::GetDocument());
}

BOOL CKLTView::Create(const char* lpszClassName, const char* lpszWindowName, DWORD dwStyle, const CRect& rect,
                      CWnd* pParentWnd, UINT nID, CCreateContext* pContext) {
    const BOOL bCreated =
        CView::Create(lpszClassName, lpszWindowName, dwStyle, rect, pParentWnd, nID, pContext);
    // The list lies at the view's origin whatever the view's place in its frame, so that it covers
    // the view even before the first resize reaches it.
    CRect client;
    if (bCreated) {
        GetClientRect(&client);
    }
    m_listBox.Create(kListStyle, client, this, IDC_VIEW_LIST);
    return bCreated;
}

void CKLTView::OnUpdate(CView* /*pSender*/, LPARAM /*lHint*/, CObject* /*pHint*/) {
    ++m_nRebuilds;
    // All rows at once: the list sorts them in one go and tells its view once, where a row at a
    // time would be sorted in and announced on its own.
    m_listBox.SetRows(klt::EntryRows(*GetDocument()));
    m_listBox.SetFocus();
}

void CKLTView::OnDraw(CDC* /*pDC*/) {}

void CKLTView::OnSize(UINT nType, int cx, int cy) {
    CView::OnSize(nType, cx, cy);
    // The first size message arrives before the list exists.
    if (m_listBox.IsWindow()) {
        m_listBox.MoveWindow(0, 0, cx, cy, TRUE);
    }
}

void CKLTView::OnSetFocus(CWnd* pOldWnd) {
    CView::OnSetFocus(pOldWnd);
    m_listBox.SetFocus();
}

void CKLTView::OnContextMenu(CWnd* /*pWnd*/, CPoint point) {
    if (point.x == -1 && point.y == -1) {
        // From the keyboard: the marks stay and the menu opens under the caret row (or at the
        // list's top left), so its commands act on what the user has chosen.
        CRect row;
        CPoint anchor;
        const int nCaret = m_listBox.GetCaretIndex();
        if (nCaret >= 0 && m_listBox.GetItemRect(nCaret, &row) != LB_ERR) {
            CRect client;
            m_listBox.GetClientRect(&client);
            anchor = {std::clamp(row.left, 0, client.right), std::clamp(row.bottom, 0, client.bottom)};
        }
        m_listBox.ClientToScreen(&anchor);
        point = anchor;
    } else {
        // The list lies at 0, 0 of the view, so view and list coordinates are the same.
        CPoint client = point;
        ScreenToClient(&client);
        m_listBox.SetSel(-1, FALSE);
        BOOL bOutside = FALSE;
        const UINT nItem = m_listBox.ItemFromPoint(client, bOutside);
        if (!bOutside) {
            const int nIndex = static_cast<int>(nItem);
            if (EntryAt(nIndex) == nullptr) {
                return;
            }
            m_listBox.SetSel(nIndex, TRUE);
            // No scrolling unless the row were hidden: the clicked row does not move.
            m_listBox.SetCaretIndex(nIndex, FALSE);
        }
    }

    CMenu menu;
    if (!menu.LoadMenu(IDR_CONTEXT_MENU)) {
        return;
    }
    if (CMenu* pPopup = menu.GetSubMenu(0)) {
        pPopup->TrackPopupMenu(TPM_LEFTALIGN | TPM_RIGHTBUTTON, point.x, point.y, AfxGetMainWnd());
    }
}

QMPassword* CKLTView::GetCurrentEntry() const {
    if (m_listBox.GetSelCount() <= 0) {
        return nullptr;
    }
    const int nCaret = m_listBox.GetCaretIndex();
    return nCaret < 0 ? nullptr : EntryAt(nCaret);
}

int CKLTView::FindEntryIndex(const QMPassword* pEntry) const {
    if (pEntry == nullptr) {
        return -1;
    }
    const auto [nFirst, nEnd] = klt::RowsSortedAs(m_listBox, pEntry->m_strSystem);
    for (int i = nFirst; i < nEnd; ++i) {
        if (EntryAt(i) == pEntry) {
            return i;
        }
    }
    // A row made before the entry's name changed.
    const int nCount = m_listBox.GetCount();
    for (int i = 0; i < nCount; ++i) {
        if (m_listBox.GetItemDataPtr(i) == pEntry) {
            return i;
        }
    }
    return -1;
}

void CKLTView::OnUpdateNeedEntry(CCmdUI* pCmdUI) {
    pCmdUI->Enable(GetCurrentEntry() != nullptr);
}

void CKLTView::OnUpdateFilePassword(CCmdUI* pCmdUI) {
    pCmdUI->Enable(GetDocument() != nullptr);
}

int CKLTView::AddEntryRow(QMPassword* pEntry) {
    const int nIndex = m_listBox.AddString(pEntry->m_strSystem);
    if (nIndex >= 0) {
        m_listBox.SetItemDataPtr(nIndex, pEntry);
    }
    return nIndex;
}

void CKLTView::MarkAsCurrent(int nIndex) {
    if (nIndex < 0) {
        return;
    }
    m_listBox.SetSel(nIndex, TRUE);
    m_listBox.SetCaretIndex(nIndex, TRUE);
}

QMPassword* CKLTView::EntryAt(int nIndex) const {
    void* pData = m_listBox.GetItemDataPtr(nIndex);
    return pData == reinterpret_cast<void*>(-1) ? nullptr : static_cast<QMPassword*>(pData);
}

bool CKLTView::IsNameTaken(const std::string& strSystem, const QMPassword* pExcept) const {
    const auto [nFirst, nEnd] = klt::RowsSortedAs(m_listBox, strSystem);
    for (int i = nFirst; i < nEnd; ++i) {
        const QMPassword* pEntry = EntryAt(i);
        if (pEntry != nullptr && pEntry != pExcept && pEntry->m_strSystem == strSystem) {
            return true;
        }
    }
    return false;
}

bool CKLTView::IsStillHeld(const QMPassword* pEntry, unsigned nRebuildsBefore) const {
    // A refilled document may have put a new entry at a freed entry's address; the rebuild that
    // follows every refill tells the two apart.
    return m_nRebuilds == nRebuildsBefore && klt::HoldsEntry(*GetDocument(), pEntry);
}
