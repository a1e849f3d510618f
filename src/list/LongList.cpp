#include "list/LongList.h"

#include "framework/ListBox.h"
#include "framework/ListRows.h"
#include "framework/QtText.h"

#include <QItemSelectionModel>
#include <QListView>
#include <algorithm>

namespace klt {

std::vector<int> MarkedRows(const CListBox& list) {
    std::vector<int> rows;
    const auto* pRows = qobject_cast<const QListView*>(list.GetWidget());
    if (pRows == nullptr || pRows->selectionModel() == nullptr) {
        return rows;
    }
    for (const QModelIndex& index : pRows->selectionModel()->selectedRows()) {
        rows.push_back(index.row());
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

std::pair<int, int> RowsSortedAs(const CListBox& list, const std::string& text) {
    const auto* pView = qobject_cast<const QListView*>(list.GetWidget());
    const auto* pRows = pView != nullptr ? dynamic_cast<const ListRows*>(pView->model()) : nullptr;
    return pRows != nullptr ? pRows->EqualRange(ToQString(text)) : std::pair{0, 0};
}

} // namespace klt
