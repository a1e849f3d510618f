#include "framework/ListRows.h"

#include "framework/ListCollation.h"
#include "framework/QtText.h"

#include <QCollatorSortKey>
#include <algorithm>

namespace klt {
namespace {

// Sorts the rows by their shown texts, stably. Each text gets its collation key once, and the keys
// go as soon as the rows are in order: comparing texts instead would cost the collator's whole
// work again at every one of the n log n comparisons.
void SortRows(std::vector<ListRow>& rows) {
    struct Keyed {
        QCollatorSortKey key;
        size_t nRow;
    };
    std::vector<Keyed> keyed;
    keyed.reserve(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        keyed.push_back({ListCollator().sortKey(ToQString(rows[i].text)), i});
    }
    std::stable_sort(keyed.begin(), keyed.end(),
                     [](const Keyed& a, const Keyed& b) { return a.key.compare(b.key) < 0; });
    std::vector<ListRow> sorted;
    sorted.reserve(rows.size());
    for (const Keyed& k : keyed) {
        sorted.push_back(std::move(rows[k.nRow]));
    }
    rows = std::move(sorted);
}

// Orders a shown text against rows and rows against it, as std::equal_range needs both ways.
struct EqualRangeOrder {
    bool operator()(const ListRow& row, const QString& text) const {
        return CompareForList(ToQString(row.text), text) < 0;
    }
    bool operator()(const QString& text, const ListRow& row) const {
        return CompareForList(text, ToQString(row.text)) < 0;
    }
};

} // namespace

int ListRows::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : Count();
}

QModelIndex ListRows::index(int row, int column, const QModelIndex& parent) const {
    return column == 0 && Has(row) && !parent.isValid() ? createIndex(row, 0) : QModelIndex();
}

QVariant ListRows::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || index.parent().isValid() || !Has(index.row())) {
        return {};
    }
    return ToQString(Row(index.row()).text);
}

int ListRows::SortedPlace(const QString& shown) const {
    // A row that sorts after the last one, as rows added in the list's own order do, goes to the
    // end after one comparison.
    if (m_rows.empty() || CompareForList(ToQString(m_rows.back().text), shown) <= 0) {
        return Count();
    }
    const auto it =
        std::upper_bound(m_rows.begin(), m_rows.end(), shown, [](const QString& text, const ListRow& row) {
            return CompareForList(text, ToQString(row.text)) < 0;
        });
    return static_cast<int>(it - m_rows.begin());
}

std::pair<int, int> ListRows::EqualRange(const QString& shown) const {
    const auto range = std::equal_range(m_rows.begin(), m_rows.end(), shown, EqualRangeOrder());
    return {static_cast<int>(range.first - m_rows.begin()), static_cast<int>(range.second - m_rows.begin())};
}

void ListRows::Insert(int nRow, ListRow row) {
    beginInsertRows(QModelIndex(), nRow, nRow);
    m_rows.insert(m_rows.begin() + nRow, std::move(row));
    endInsertRows();
}

void ListRows::Remove(int nFirst, int nLast) {
    beginRemoveRows(QModelIndex(), nFirst, nLast);
    m_rows.erase(m_rows.begin() + nFirst, m_rows.begin() + nLast + 1);
    endRemoveRows();
}

void ListRows::Reset(std::vector<ListRow> rows, bool bSort) {
    if (bSort) {
        SortRows(rows);
    }
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

} // namespace klt
