#pragma once
// A list of rows, each with a text and an item datum. A sorted list (LBS_SORT) keeps its rows in
// ascending order of their texts without regard to letter case. An extended-selection list
// (LBS_EXTENDEDSEL) keeps two things apart: the marked rows (any number, chosen with the mouse and
// Shift or Ctrl) and the caret row (the row with the focus rectangle), which need not be marked.
// Notifications to the parent: LBN_DBLCLK on a double click on a row, LBN_SELCHANGE when the user
// changes the marks; never for what the program does.
//
// The rows live in a list model, not in one widget item each: a row is its bytes and its item datum,
// and the text the list shows is made only for the rows it paints.

#include "framework/Wnd.h"

#include <vector>

namespace klt {

// One row given all at once to CListBox::SetRows.
struct ListRow {
    std::string text;
    std::uintptr_t data = 0;
};

} // namespace klt

class CListBox : public CWnd {
public:
    BOOL Create(DWORD dwStyle, const CRect& rect, CWnd* pParentWnd, UINT nID);

    int GetCount() const;
    // Adds a row at its sorted place (at the end in an unsorted list); returns its index.
    int AddString(const std::string& text);
    // Inserts a row at nIndex (-1: at the end) without sorting; returns its index or LB_ERR.
    int InsertString(int nIndex, const std::string& text);
    // Removes row nIndex; returns the number of rows left, or LB_ERR.
    int DeleteString(UINT nIndex);
    void ResetContent();
    // Replaces every row at once: a sorted list puts them in its order, rows of equal texts in the
    // given order. No row is marked and there is no caret row. For many rows far cheaper than
    // ResetContent and one AddString and SetItemData a row.
    void SetRows(std::vector<klt::ListRow> rows);
    // Removes the rows at the given ascending indices, each run of adjacent rows at once; returns
    // the number of rows left, or LB_ERR (removing nothing) when an index is bad.
    int DeleteRows(const std::vector<int>& rows);
    int GetText(int nIndex, std::string& rString) const;
    // Index of the first row, from nStartAfter + 1 on, whose text equals the given text without
    // regard to letter case, or LB_ERR.
    int FindStringExact(int nStartAfter, const std::string& text) const;

    int SetItemData(int nIndex, std::uintptr_t dwItemData);
    std::uintptr_t GetItemData(int nIndex) const; // LB_ERR (as all bits set) for a bad index
    int SetItemDataPtr(int nIndex, void* pData);
    void* GetItemDataPtr(int nIndex) const; // (void*)-1 for a bad index

    // Single-selection lists.
    int GetCurSel() const;
    int SetCurSel(int nSelect); // -1 removes the selection; returns LB_ERR when nothing is selected

    // Extended-selection lists. GetSel: positive when row nIndex is marked, 0 when not, LB_ERR for
    // a bad index. SetSel marks or unmarks one row, or all with nIndex -1. GetSelCount: LB_ERR in a
    // single-selection list.
    int GetSel(int nIndex) const;
    int SetSel(int nIndex, BOOL bSelect = TRUE);
    int GetSelCount() const;
    int GetSelItems(int nMaxItems, int* rgIndex) const;

    // The caret row: -1 when there is none. SetCaretIndex marks nothing; with bScroll it scrolls
    // only when the row is not at least partly visible, without it until the row is fully visible.
    int GetCaretIndex() const;
    int SetCaretIndex(int nIndex, BOOL bScroll = TRUE);
    int GetTopIndex() const;
    int SetTopIndex(int nIndex);

    // The row nearest to a point in client coordinates; bOutside is TRUE when the point lies outside
    // the client area or below the last row.
    UINT ItemFromPoint(CPoint pt, BOOL& bOutside) const;
    int GetItemRect(int nIndex, CRect* pRect) const;
};
