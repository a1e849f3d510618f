#pragma once
// The rows of a list box as a Qt list model over its rows in their shown order. A row keeps the
// bytes it was given and its item datum; the text the view shows is made when the view asks for it,
// which it does only for the rows it paints.

#include "framework/ListBox.h"

#include <QAbstractListModel>
#include <utility>

class QString;

namespace klt {

class ListRows : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    // The view lays out every row after a change, asking each row's index twice: answered here
    // without the base class's two virtual calls to count rows and columns.
    QModelIndex index(int row, int column, const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    int Count() const { return static_cast<int>(m_rows.size()); }
    bool Has(int nRow) const { return nRow >= 0 && nRow < Count(); }
    ListRow& Row(int nRow) { return m_rows[static_cast<size_t>(nRow)]; }
    const ListRow& Row(int nRow) const { return m_rows[static_cast<size_t>(nRow)]; }

    // Where a row of this shown text goes in sorted rows: after every row that does not sort after
    // it, so that equal texts keep the order they came in.
    int SortedPlace(const QString& shown) const;
    // The sorted rows [first, second) whose texts sort equal to the shown text.
    std::pair<int, int> EqualRange(const QString& shown) const;
    void Insert(int nRow, ListRow row);
    void Remove(int nFirst, int nLast);
    // Replaces every row, first sorting them when bSort is set.
    void Reset(std::vector<ListRow> rows, bool bSort);

private:
    std::vector<ListRow> m_rows;
};

} // namespace klt
