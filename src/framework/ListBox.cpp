#include "framework/ListBox.h"

#include "framework/ControlWidgets.h"
#include "framework/ListCollation.h"
#include "framework/ListRows.h"
#include "framework/QtText.h"

#include <QListView>
#include <algorithm>

namespace {

QListView* List(const CListBox* pListBox) {
    return qobject_cast<QListView*>(pListBox->GetWidget());
}

klt::ListRows* Rows(const QListView* pList) {
    return pList != nullptr ? dynamic_cast<klt::ListRows*>(pList->model()) : nullptr;
}

klt::ListRows* Rows(const CListBox* pListBox) {
    return Rows(List(pListBox));
}

bool IsExtended(const QListView* pList) {
    return pList->selectionMode() == QAbstractItemView::ExtendedSelection;
}

bool InRange(const QListView* pList, int nIndex) {
    return Rows(pList) != nullptr && Rows(pList)->Has(nIndex);
}

QModelIndex RowIndex(const QListView* pList, int nIndex) {
    return pList->model()->index(nIndex, 0);
}

} // namespace

BOOL CListBox::Create(DWORD dwStyle, const CRect& rect, CWnd* pParentWnd, UINT nID) {
    if (pParentWnd == nullptr || pParentWnd->GetWidget() == nullptr) {
        return FALSE;
    }
    QWidget* pWidget = klt::CreateControlWidget(klt::res::ControlKind::listBox, "", dwStyle,
                                                static_cast<int>(nID), pParentWnd->GetWidget());
    pWidget->setGeometry(rect.left, rect.top, rect.Width(), rect.Height());
    Attach(pWidget);
    return TRUE;
}

int CListBox::GetCount() const {
    const klt::ListRows* pRows = Rows(this);
    return pRows != nullptr ? pRows->Count() : LB_ERR;
}

int CListBox::AddString(const std::string& text) {
    klt::ListRows* pRows = Rows(this);
    if (pRows == nullptr) {
        return LB_ERR;
    }
    const int nIndex =
        (GetStyle() & LBS_SORT) != 0 ? pRows->SortedPlace(klt::ToQString(text)) : pRows->Count();
    return InsertString(nIndex, text);
}

int CListBox::InsertString(int nIndex, const std::string& text) {
    QListView* pList = List(this);
    klt::ListRows* pRows = Rows(pList);
    if (pRows == nullptr || nIndex > pRows->Count()) {
        return LB_ERR;
    }
    if (nIndex < 0) {
        nIndex = pRows->Count();
    }
    klt::ProgrammaticChange programmatic(pList);
    pRows->Insert(nIndex, {text, 0});
    return nIndex;
}

int CListBox::DeleteString(UINT nIndex) {
    QListView* pList = List(this);
    if (!InRange(pList, static_cast<int>(nIndex))) {
        return LB_ERR;
    }
    klt::ProgrammaticChange programmatic(pList);
    Rows(pList)->Remove(static_cast<int>(nIndex), static_cast<int>(nIndex));
    return Rows(pList)->Count();
}

int CListBox::DeleteRows(const std::vector<int>& rows) {
    QListView* pList = List(this);
    klt::ListRows* pRows = Rows(pList);
    if (pRows == nullptr || !std::is_sorted(rows.begin(), rows.end()) ||
        (!rows.empty() && (!pRows->Has(rows.front()) || !pRows->Has(rows.back())))) {
        return LB_ERR;
    }
    klt::ProgrammaticChange programmatic(pList);
    // From the bottom up, so that the indices still to come stay valid.
    for (auto last = rows.rbegin(); last != rows.rend();) {
        auto first = last;
        while (std::next(first) != rows.rend() && *std::next(first) >= *first - 1) {
            ++first;
        }
        pRows->Remove(*first, *last);
        last = std::next(first);
    }
    return pRows->Count();
}

void CListBox::ResetContent() {
    SetRows({});
}

void CListBox::SetRows(std::vector<klt::ListRow> rows) {
    if (klt::ListRows* pRows = Rows(this)) {
        klt::ProgrammaticChange programmatic(List(this));
        pRows->Reset(std::move(rows), (GetStyle() & LBS_SORT) != 0);
    }
}

int CListBox::GetText(int nIndex, std::string& rString) const {
    const klt::ListRows* pRows = Rows(this);
    if (pRows == nullptr || !pRows->Has(nIndex)) {
        return LB_ERR;
    }
    rString = pRows->Row(nIndex).text;
    return static_cast<int>(rString.size());
}

int CListBox::FindStringExact(int nStartAfter, const std::string& text) const {
    const klt::ListRows* pRows = Rows(this);
    if (pRows == nullptr) {
        return LB_ERR;
    }
    const QString wanted = klt::ToQString(text);
    const int count = pRows->Count();
    for (int step = 1; step <= count; ++step) {
        const int nIndex = (std::max(nStartAfter, -1) + step) % count;
        if (QString::compare(klt::ToQString(pRows->Row(nIndex).text), wanted, Qt::CaseInsensitive) == 0) {
            return nIndex;
        }
    }
    return LB_ERR;
}

int CListBox::SetItemData(int nIndex, std::uintptr_t dwItemData) {
    klt::ListRows* pRows = Rows(this);
    if (pRows == nullptr || !pRows->Has(nIndex)) {
        return LB_ERR;
    }
    pRows->Row(nIndex).data = dwItemData;
    return LB_OKAY;
}

std::uintptr_t CListBox::GetItemData(int nIndex) const {
    const klt::ListRows* pRows = Rows(this);
    if (pRows == nullptr || !pRows->Has(nIndex)) {
        return static_cast<std::uintptr_t>(LB_ERR);
    }
    return pRows->Row(nIndex).data;
}

int CListBox::SetItemDataPtr(int nIndex, void* pData) {
    return SetItemData(nIndex, reinterpret_cast<std::uintptr_t>(pData));
}

void* CListBox::GetItemDataPtr(int nIndex) const {
    return reinterpret_cast<void*>(GetItemData(nIndex));
}

int CListBox::GetCurSel() const {
    QListView* pList = List(this);
    if (pList == nullptr) {
        return LB_ERR;
    }
    if (IsExtended(pList)) {
        return GetCaretIndex();
    }
    const auto selected = pList->selectionModel()->selectedRows();
    return selected.isEmpty() ? LB_ERR : selected.front().row();
}

int CListBox::SetCurSel(int nSelect) {
    QListView* pList = List(this);
    if (pList == nullptr || IsExtended(pList)) {
        return LB_ERR;
    }
    klt::ProgrammaticChange programmatic(pList);
    if (!InRange(pList, nSelect)) {
        pList->clearSelection();
        return LB_ERR;
    }
    const QModelIndex index = RowIndex(pList, nSelect);
    pList->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    pList->scrollTo(index);
    return nSelect;
}

int CListBox::GetSel(int nIndex) const {
    QListView* pList = List(this);
    if (!InRange(pList, nIndex)) {
        return LB_ERR;
    }
    return pList->selectionModel()->isSelected(RowIndex(pList, nIndex)) ? 1 : 0;
}

int CListBox::SetSel(int nIndex, BOOL bSelect) {
    QListView* pList = List(this);
    if (pList == nullptr || !IsExtended(pList) || nIndex >= GetCount() || nIndex < -1) {
        return LB_ERR;
    }
    klt::ProgrammaticChange programmatic(pList);
    if (nIndex == -1) {
        if (bSelect) {
            pList->selectAll();
        } else {
            pList->clearSelection();
        }
    } else {
        pList->selectionModel()->select(RowIndex(pList, nIndex), bSelect ? QItemSelectionModel::Select
                                                                         : QItemSelectionModel::Deselect);
    }
    return LB_OKAY;
}

int CListBox::GetSelCount() const {
    QListView* pList = List(this);
    if (pList == nullptr || !IsExtended(pList)) {
        return LB_ERR;
    }
    return static_cast<int>(pList->selectionModel()->selectedRows().size());
}

int CListBox::GetSelItems(int nMaxItems, int* rgIndex) const {
    QListView* pList = List(this);
    if (pList == nullptr || !IsExtended(pList)) {
        return LB_ERR;
    }
    std::vector<int> marked;
    for (const QModelIndex& index : pList->selectionModel()->selectedRows()) {
        marked.push_back(index.row());
    }
    std::sort(marked.begin(), marked.end());
    const int nCount = std::min(nMaxItems, static_cast<int>(marked.size()));
    std::copy_n(marked.begin(), std::max(nCount, 0), rgIndex);
    return std::max(nCount, 0);
}

int CListBox::GetCaretIndex() const {
    QListView* pList = List(this);
    if (pList == nullptr) {
        return LB_ERR;
    }
    const QModelIndex current = pList->currentIndex();
    return current.isValid() ? current.row() : -1;
}

int CListBox::SetCaretIndex(int nIndex, BOOL bScroll) {
    QListView* pList = List(this);
    if (!InRange(pList, nIndex)) {
        return LB_ERR;
    }
    klt::ProgrammaticChange programmatic(pList);
    const QModelIndex index = RowIndex(pList, nIndex);
    pList->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    const QRect rowRect = pList->visualRect(index);
    const QRect visible = pList->viewport()->rect();
    if (bScroll ? !visible.intersects(rowRect) : !visible.contains(rowRect)) {
        pList->scrollTo(index, QAbstractItemView::EnsureVisible);
    }
    return LB_OKAY;
}

int CListBox::GetTopIndex() const {
    QListView* pList = List(this);
    if (pList == nullptr || GetCount() <= 0) {
        return 0;
    }
    const QModelIndex top = pList->indexAt(QPoint(1, 1));
    return top.isValid() ? top.row() : 0;
}

int CListBox::SetTopIndex(int nIndex) {
    QListView* pList = List(this);
    if (!InRange(pList, nIndex)) {
        return LB_ERR;
    }
    pList->scrollTo(RowIndex(pList, nIndex), QAbstractItemView::PositionAtTop);
    return LB_OKAY;
}

UINT CListBox::ItemFromPoint(CPoint pt, BOOL& bOutside) const {
    bOutside = TRUE;
    QListView* pList = List(this);
    if (pList == nullptr || GetCount() <= 0) {
        return 0;
    }
    const QPoint inViewport = pList->viewport()->mapFrom(pList, QPoint(pt.x, pt.y));
    const QModelIndex index = pList->indexAt(inViewport);
    if (index.isValid()) {
        bOutside = pList->viewport()->rect().contains(inViewport) ? FALSE : TRUE;
        return static_cast<UINT>(index.row());
    }
    // Below the last row (or beside the rows): the nearest row, reported as outside.
    const QModelIndex top = pList->indexAt(QPoint(1, 1));
    int nNearest = GetCount() - 1;
    if (top.isValid() && inViewport.y() < 0) {
        nNearest = top.row();
    }
    return static_cast<UINT>(nNearest);
}

int CListBox::GetItemRect(int nIndex, CRect* pRect) const {
    QListView* pList = List(this);
    if (!InRange(pList, nIndex)) {
        return LB_ERR;
    }
    const QRect rect = pList->visualRect(RowIndex(pList, nIndex));
    const QPoint topLeft = pList->viewport()->mapTo(pList, rect.topLeft());
    *pRect = CRect{topLeft.x(), topLeft.y(), topLeft.x() + rect.width(), topLeft.y() + rect.height()};
    return LB_OKAY;
}
