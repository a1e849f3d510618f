#include "framework/ListRows.h"

#include "framework/ListCollation.h"
#include "framework/QtText.h"

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace klt {
namespace {

// Sorts the rows by their shown texts, stably. Each text gets its collation key once, all keys in
// one buffer that goes as soon as the rows are in order: comparing texts instead would cost the
// collator's whole work again at every one of the n log n comparisons. The first bytes of each key
// travel with its row number, so that most comparisons end without a look into the buffer.
void SortRows(std::vector<ListRow>& rows) {
    struct Keyed {
        std::uint64_t nHead; // the key's first eight bytes, big-endian, zeros after its end
        std::size_t nOffset;
        std::size_t nRow;
    };
    std::vector<std::uint8_t> keys;
    keys.reserve(rows.size() * 32);
    std::vector<Keyed> keyed;
    keyed.reserve(rows.size());
    for (size_t i = 0; i < rows.size(); ++i) {
        const std::size_t nOffset = keys.size();
        const std::size_t nLength = AppendSortKey(ToQString(rows[i].text), keys);
        std::uint64_t nHead = 0;
        for (std::size_t k = 0; k < 8; ++k) {
            nHead = (nHead << 8) | (k < nLength ? keys[nOffset + k] : 0U);
        }
        keyed.push_back({nHead, nOffset, i});
    }
    const auto before = [&keys](const Keyed& a, const Keyed& b) {
        if (a.nHead != b.nHead) {
            return a.nHead < b.nHead;
        }
        // Equal heads that hold a key's end are equal keys; otherwise the rest decides.
        if ((a.nHead & 0xFF) == 0) {
            return false;
        }
        return std::strcmp(reinterpret_cast<const char*>(keys.data() + a.nOffset + 8),
                           reinterpret_cast<const char*>(keys.data() + b.nOffset + 8)) < 0;
    };
    std::stable_sort(keyed.begin(), keyed.end(), before);
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
