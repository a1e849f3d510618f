#pragma once
// The view of a list box. Every row is one line of the view's font, so all rows have one height and
// row i lies at i times that height: the view finds, places, scrolls to and paints rows by
// arithmetic. QListView keeps a position for every row instead and computes all of them again after
// each row added or removed, which in a list of a hundred thousand costs more than the change itself.
// Rows are never hidden and are as wide as the viewport; the scroll bar counts rows as QListView's
// does, or pixels when the view scrolls per pixel.

#include <QListView>

namespace klt {

class RowsView : public QListView {
public:
    using QListView::QListView;

    QRect visualRect(const QModelIndex& index) const override;
    QModelIndex indexAt(const QPoint& point) const override;
    void scrollTo(const QModelIndex& index, ScrollHint hint = EnsureVisible) override;
    // Only the scroll bars and a repaint: there are no row positions to compute.
    void doItemsLayout() override;

protected:
    QModelIndex moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers modifiers) override;
    int horizontalOffset() const override;
    int verticalOffset() const override;
    bool isIndexHidden(const QModelIndex& index) const override;
    void setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) override;
    QRegion visualRegionForSelection(const QItemSelection& selection) const override;
    void updateGeometries() override;
    void scrollContentsBy(int dx, int dy) override;
    void paintEvent(QPaintEvent* pEvent) override;
    void changeEvent(QEvent* pEvent) override;
    QSize viewportSizeHint() const override;

private:
    int RowHeight() const;
    int RowCount() const;
    QModelIndex RowIndex(int row) const;
    // The row at a height in contents coordinates, or -1 above and below the rows.
    int RowAt(int y) const;
    // The rows that fit whole in the viewport, at least one.
    int RowsPerPage() const;
    bool ScrollsPerRow() const { return verticalScrollMode() == ScrollPerItem; }
    // Brings the scroll bars up to date with rows added or removed since the last layout.
    void Settle() const;

    mutable int m_rowHeight = 0; // 0 until measured, again after a change of font or style
};

} // namespace klt
