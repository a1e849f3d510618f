#include "list/LongList.h"

#include "framework/ListBox.h"

#include <QItemSelectionModel>
#include <QListView>
#include <algorithm>

namespace klt {

void UseUniformRows(CListBox& list) {
    if (auto* pRows = qobject_cast<QListView*>(list.GetWidget())) {
        pRows->setUniformItemSizes(true);
    }
}

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

} // namespace klt
