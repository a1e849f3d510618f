#include "framework/ListBox.h"

#include "framework/ControlWidgets.h"
#include "framework/ListCollation.h"
#include "framework/QtText.h"

#include <QListWidget>
#include <QScrollBar>

namespace {

constexpr int kDataRole = Qt::UserRole;

QListWidget* List(const CListBox* pListBox) {
    return qobject_cast<QListWidget*>(pListBox->GetWidget());
}

bool IsExtended(const QListWidget* pList) {
    return pList->selectionMode() == QAbstractItemView::ExtendedSelection;
}

bool InRange(const QListWidget* pList, int nIndex) {
    return nIndex >= 0 && nIndex < pList->count();
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
    QListWidget* pList = List(this);
    return pList != nullptr ? pList->count() : LB_ERR;
}

namespace {

// Puts a row with the shown text and the original bytes at nIndex.
int InsertRow(QListWidget* pList, int nIndex, QString shown, const std::string& text) {
    klt::ProgrammaticChange programmatic(pList);
    auto* pItem = new QListWidgetItem(std::move(shown));
    pItem->setData(kDataRole, QByteArray(text.data(), static_cast<qsizetype>(text.size())));
    pItem->setData(kDataRole + 1, QVariant::fromValue<quintptr>(0));
    pList->insertItem(nIndex, pItem);
    return nIndex;
}

} // namespace

int CListBox::AddString(const std::string& text) {
    QListWidget* pList = List(this);
    if (pList == nullptr) {
        return LB_ERR;
    }
    QString shown = klt::ToQString(text);
    int nIndex = pList->count();
    // After every row that does not sort after the new one, so equal names keep their order. A row
    // that sorts after the last one, as every row of a rebuild in the list's own order does, goes
    // to the end without a search.
    const auto sortsAfter = [&](int nRow) {
        return klt::CompareForList(pList->item(nRow)->text(), shown) <= 0;
    };
    if ((GetStyle() & LBS_SORT) != 0 && nIndex > 0 && !sortsAfter(nIndex - 1)) {
        int low = 0;
        int high = nIndex - 1;
        while (low < high) {
            const int middle = (low + high) / 2;
            if (sortsAfter(middle)) {
                low = middle + 1;
            } else {
                high = middle;
            }
        }
        nIndex = low;
    }
    return InsertRow(pList, nIndex, std::move(shown), text);
}

int CListBox::InsertString(int nIndex, const std::string& text) {
    QListWidget* pList = List(this);
    if (pList == nullptr || nIndex > pList->count()) {
        return LB_ERR;
    }
    return InsertRow(pList, nIndex < 0 ? pList->count() : nIndex, klt::ToQString(text), text);
}

int CListBox::DeleteString(UINT nIndex) {
    QListWidget* pList = List(this);
    if (pList == nullptr || !InRange(pList, static_cast<int>(nIndex))) {
        return LB_ERR;
    }
    klt::ProgrammaticChange programmatic(pList);
    delete pList->takeItem(static_cast<int>(nIndex));
    return pList->count();
}

void CListBox::ResetContent() {
    if (QListWidget* pList = List(this)) {
        klt::ProgrammaticChange programmatic(pList);
        pList->clear();
    }
}

int CListBox::GetText(int nIndex, std::string& rString) const {
    QListWidget* pList = List(this);
    if (pList == nullptr || !InRange(pList, nIndex)) {
        return LB_ERR;
    }
    rString = pList->item(nIndex)->data(kDataRole).toByteArray().toStdString();
    return static_cast<int>(rString.size());
}

int CListBox::FindStringExact(int nStartAfter, const std::string& text) const {
    QListWidget* pList = List(this);
    if (pList == nullptr) {
        return LB_ERR;
    }
    const QString wanted = klt::ToQString(text);
    const int count = pList->count();
    for (int step = 1; step <= count; ++step) {
        const int nIndex = (std::max(nStartAfter, -1) + step) % count;
        if (QString::compare(pList->item(nIndex)->text(), wanted, Qt::CaseInsensitive) == 0) {
            return nIndex;
        }
    }
    return LB_ERR;
}

int CListBox::SetItemData(int nIndex, std::uintptr_t dwItemData) {
    QListWidget* pList = List(this);
    if (pList == nullptr || !InRange(pList, nIndex)) {
        return LB_ERR;
    }
    pList->item(nIndex)->setData(kDataRole + 1, QVariant::fromValue<quintptr>(dwItemData));
    return LB_OKAY;
}

std::uintptr_t CListBox::GetItemData(int nIndex) const {
    QListWidget* pList = List(this);
    if (pList == nullptr || !InRange(pList, nIndex)) {
        return static_cast<std::uintptr_t>(LB_ERR);
    }
    return pList->item(nIndex)->data(kDataRole + 1).value<quintptr>();
}

int CListBox::SetItemDataPtr(int nIndex, void* pData) {
    return SetItemData(nIndex, reinterpret_cast<std::uintptr_t>(pData));
}

void* CListBox::GetItemDataPtr(int nIndex) const {
    return reinterpret_cast<void*>(GetItemData(nIndex));
}

int CListBox::GetCurSel() const {
    QListWidget* pList = List(this);
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
    QListWidget* pList = List(this);
    if (pList == nullptr || IsExtended(pList)) {
        return LB_ERR;
    }
    klt::ProgrammaticChange programmatic(pList);
    if (!InRange(pList, nSelect)) {
        pList->clearSelection();
        return LB_ERR;
    }
    pList->setCurrentRow(nSelect, QItemSelectionModel::ClearAndSelect);
    pList->scrollToItem(pList->item(nSelect));
    return nSelect;
}

int CListBox::GetSel(int nIndex) const {
    QListWidget* pList = List(this);
    if (pList == nullptr || !InRange(pList, nIndex)) {
        return LB_ERR;
    }
    return pList->item(nIndex)->isSelected() ? 1 : 0;
}

int CListBox::SetSel(int nIndex, BOOL bSelect) {
    QListWidget* pList = List(this);
    if (pList == nullptr || !IsExtended(pList) || nIndex >= pList->count() || nIndex < -1) {
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
        pList->item(nIndex)->setSelected(bSelect != FALSE);
    }
    return LB_OKAY;
}

int CListBox::GetSelCount() const {
    QListWidget* pList = List(this);
    if (pList == nullptr || !IsExtended(pList)) {
        return LB_ERR;
    }
    return static_cast<int>(pList->selectionModel()->selectedRows().size());
}

int CListBox::GetSelItems(int nMaxItems, int* rgIndex) const {
    QListWidget* pList = List(this);
    if (pList == nullptr || !IsExtended(pList)) {
        return LB_ERR;
    }
    int nCount = 0;
    for (int nIndex = 0; nIndex < pList->count() && nCount < nMaxItems; ++nIndex) {
        if (pList->item(nIndex)->isSelected()) {
            rgIndex[nCount++] = nIndex;
        }
    }
    return nCount;
}

int CListBox::GetCaretIndex() const {
    QListWidget* pList = List(this);
    return pList != nullptr ? pList->currentRow() : LB_ERR;
}

int CListBox::SetCaretIndex(int nIndex, BOOL bScroll) {
    QListWidget* pList = List(this);
    if (pList == nullptr || !InRange(pList, nIndex)) {
        return LB_ERR;
    }
    klt::ProgrammaticChange programmatic(pList);
    const QModelIndex index = pList->model()->index(nIndex, 0);
    pList->selectionModel()->setCurrentIndex(index, QItemSelectionModel::NoUpdate);
    const QRect rowRect = pList->visualRect(index);
    const QRect visible = pList->viewport()->rect();
    if (bScroll ? !visible.intersects(rowRect) : !visible.contains(rowRect)) {
        pList->scrollTo(index, QAbstractItemView::EnsureVisible);
    }
    return LB_OKAY;
}

int CListBox::GetTopIndex() const {
    QListWidget* pList = List(this);
    if (pList == nullptr || pList->count() == 0) {
        return 0;
    }
    const QModelIndex top = pList->indexAt(QPoint(1, 1));
    return top.isValid() ? top.row() : 0;
}

int CListBox::SetTopIndex(int nIndex) {
    QListWidget* pList = List(this);
    if (pList == nullptr || !InRange(pList, nIndex)) {
        return LB_ERR;
    }
    pList->scrollToItem(pList->item(nIndex), QAbstractItemView::PositionAtTop);
    return LB_OKAY;
}

UINT CListBox::ItemFromPoint(CPoint pt, BOOL& bOutside) const {
    bOutside = TRUE;
    QListWidget* pList = List(this);
    if (pList == nullptr || pList->count() == 0) {
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
    int nNearest = pList->count() - 1;
    if (top.isValid() && inViewport.y() < 0) {
        nNearest = top.row();
    }
    return static_cast<UINT>(nNearest);
}

int CListBox::GetItemRect(int nIndex, CRect* pRect) const {
    QListWidget* pList = List(this);
    if (pList == nullptr || !InRange(pList, nIndex)) {
        return LB_ERR;
    }
    const QRect rect = pList->visualItemRect(pList->item(nIndex));
    const QPoint topLeft = pList->viewport()->mapTo(pList, rect.topLeft());
    *pRect = CRect{topLeft.x(), topLeft.y(), topLeft.x() + rect.width(), topLeft.y() + rect.height()};
    return LB_OKAY;
}
