#pragma once
// The entry list: one row per entry of the open password file, the row's text being the entry's
// system name, sorted without regard to letter case. The view draws nothing itself; its list
// control (child 101) does all painting and input. The view is also the command target of the
// entry commands, which keep the list and the document in step themselves.
//
// Rows point at entries that the document owns. Marked rows (the list's selection) and the caret
// row (the focus rectangle) are kept apart: the current entry is the caret row's, and exists only
// while at least one row is marked.

#include "framework/Framework.h"

class CKLTDoc;
class QMPassword;

class CKLTView : public CView {
public:
    CKLTView();
    ~CKLTView() override;

    CKLTDoc* GetDocument() const;

    BOOL Create(const char* lpszClassName, const char* lpszWindowName, DWORD dwStyle, const CRect& rect,
                CWnd* pParentWnd, UINT nID, CCreateContext* pContext = nullptr) override;
    // Rebuilds the rows from the document; every mark goes, the list takes the focus.
    void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint) override;
    void OnDraw(CDC* pDC) override;
    void OnSize(UINT nType, int cx, int cy) override;
    void OnSetFocus(CWnd* pOldWnd) override;
    void OnContextMenu(CWnd* pWnd, CPoint point) override;

    // The entry of the caret row while at least one row is marked; null otherwise.
    QMPassword* GetCurrentEntry() const;
    // The first row whose item data is pEntry, or -1. Quick while the entry's row shows its name.
    int FindEntryIndex(const QMPassword* pEntry) const;

protected:
    // Update rules.
    void OnUpdateNeedEntry(CCmdUI* pCmdUI);
    void OnUpdateFilePassword(CCmdUI* pCmdUI);

    // Entry commands (KLTViewEdit.cpp).
    void OnEditAdd();
    void OnEditDelete();
    void DeleteMarkedEntries();
    void OnEditProperties();
    void OnFilePassword();
    // Merges another password file into the document (KLTViewMerge.cpp).
    void OnFileMerge();

    // Adds a row for pEntry at its sorted place; returns its index.
    int AddEntryRow(QMPassword* pEntry);
    // Marks row nIndex and makes it the caret row, so its entry becomes the current one.
    void MarkAsCurrent(int nIndex);
    // The entry that row nIndex points at; null for a bad row.
    QMPassword* EntryAt(int nIndex) const;
    // Whether an entry other than pExcept has the system name strSystem, byte for byte. The rows,
    // sorted by name, answer this for the document, whose entries all have their row.
    bool IsNameTaken(const std::string& strSystem, const QMPassword* pExcept = nullptr) const;
    // Whether an entry taken before a modal dialog or question may still be used: a command run in
    // the nested event loop may have emptied or refilled the document (and so the rows) meanwhile.
    bool IsStillHeld(const QMPassword* pEntry, unsigned nRebuildsBefore) const;

    CListBox m_listBox;
    unsigned m_nRebuilds = 0; // counts OnUpdate
};
