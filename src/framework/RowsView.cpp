#include "framework/RowsView.h"

#include <QCursor>
#include <QEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

namespace klt {

QRect RowsView::visualRect(const QModelIndex& index) const {
    Settle();
    if (!index.isValid() || index.model() != model() || index.parent() != rootIndex() ||
        index.column() != modelColumn()) {
        return {};
    }
    return {0, index.row() * RowHeight() - verticalOffset(), viewport()->width(), RowHeight()};
}

QModelIndex RowsView::indexAt(const QPoint& point) const {
    Settle();
    if (point.x() < 0 || point.x() >= viewport()->width()) {
        return {};
    }
    return RowIndex(RowAt(point.y() + verticalOffset()));
}

void RowsView::scrollTo(const QModelIndex& index, ScrollHint hint) {
    const QRect rect = visualRect(index);
    if (!rect.isValid()) {
        return;
    }
    const QRect area = viewport()->rect();
    if (hint == EnsureVisible) {
        if (area.contains(rect)) {
            viewport()->update(rect);
            return;
        }
        hint = rect.top() < area.top() ? PositionAtTop : PositionAtBottom;
    }
    const int row = index.row();
    int value = 0;
    if (ScrollsPerRow()) {
        // The rows that fit in the viewport with this one the last of them.
        const int fit = std::min(row + 1, RowsPerPage());
        value = hint == PositionAtTop ? row : hint == PositionAtBottom ? row - fit + 1 : row - fit / 2;
    } else {
        const int top = row * RowHeight();
        const int slack = area.height() - RowHeight();
        value = hint == PositionAtTop      ? top
                : hint == PositionAtBottom ? top - std::max(slack, 0)
                                           : top - slack / 2;
    }
    verticalScrollBar()->setValue(value);
}

void RowsView::doItemsLayout() {
    QAbstractItemView::doItemsLayout();
}

QModelIndex RowsView::moveCursor(CursorAction cursorAction, Qt::KeyboardModifiers /*modifiers*/) {
    Settle();
    const QModelIndex current = currentIndex();
    if (!current.isValid()) {
        return RowIndex(0);
    }
    // A page keeps one row of the page before in sight.
    const int page = std::max(viewport()->height() / RowHeight() - 1, 1);
    int row = current.row();
    switch (cursorAction) {
    case MoveUp:
    case MovePrevious:
        --row;
        break;
    case MoveDown:
    case MoveNext:
        ++row;
        break;
    case MovePageUp:
        row = std::max(row - page, 0);
        break;
    case MovePageDown:
        row = std::min(row + page, RowCount() - 1);
        break;
    case MoveHome:
        row = 0;
        break;
    case MoveEnd:
        row = RowCount() - 1;
        break;
    case MoveLeft:
    case MoveRight:
        break;
    }
    const QModelIndex next = RowIndex(row);
    return next.isValid() ? next : current;
}

int RowsView::horizontalOffset() const {
    return 0;
}

int RowsView::verticalOffset() const {
    const int value = verticalScrollBar()->value();
    return ScrollsPerRow() ? value * RowHeight() : value;
}

bool RowsView::isIndexHidden(const QModelIndex& /*index*/) const {
    return false;
}

void RowsView::setSelection(const QRect& rect, QItemSelectionModel::SelectionFlags command) {
    if (selectionModel() == nullptr) {
        return;
    }
    const int offset = verticalOffset();
    int first = -1;
    int last = -1;
    if (state() == DragSelectingState) {
        // A band dragged with the mouse: every row it crosses.
        const QRect band = rect.normalized().translated(0, offset);
        if (band.right() >= 0 && band.bottom() >= 0) {
            first = RowAt(std::max(band.top(), 0));
            last = RowAt(std::min(band.bottom(), RowCount() * RowHeight() - 1));
        }
    } else if (rect.left() >= 0 && rect.right() >= 0) {
        // Shift with a click or a key: from the row of one corner to the row of the other, both on rows.
        first = RowAt(rect.top() + offset);
        last = RowAt(rect.bottom() + offset);
    }
    QItemSelection selection;
    if (first >= 0 && last >= 0) {
        selection.select(RowIndex(std::min(first, last)), RowIndex(std::max(first, last)));
    }
    selectionModel()->select(selection, command);
}

QRegion RowsView::visualRegionForSelection(const QItemSelection& selection) const {
    QRegion region;
    const QRect area = viewport()->rect();
    for (const QItemSelectionRange& range : selection) {
        if (!range.isValid() || range.parent() != rootIndex()) {
            continue;
        }
        const QRect rows = visualRect(range.topLeft()).united(visualRect(range.bottomRight()));
        region += rows.intersected(area);
    }
    return region;
}

void RowsView::updateGeometries() {
    QScrollBar* pBar = verticalScrollBar();
    if (ScrollsPerRow()) {
        pBar->setSingleStep(1);
        pBar->setPageStep(RowsPerPage());
        pBar->setRange(0, std::max(RowCount() - RowsPerPage(), 0));
    } else {
        pBar->setSingleStep(RowHeight());
        pBar->setPageStep(viewport()->height());
        pBar->setRange(0, std::max(RowCount() * RowHeight() - viewport()->height(), 0));
    }
    horizontalScrollBar()->setRange(0, 0);
    QAbstractItemView::updateGeometries();
}

void RowsView::scrollContentsBy(int dx, int dy) {
    QAbstractItemView::scrollContentsBy(dx, ScrollsPerRow() ? dy * RowHeight() : dy);
}

void RowsView::paintEvent(QPaintEvent* pEvent) {
    QStyleOptionViewItem option;
    initViewItemOption(&option);
    const QStyle::State viewState = option.state;
    const QModelIndex current = currentIndex();
    const bool focus = (hasFocus() || viewport()->hasFocus()) && current.isValid();
    const QModelIndex hover =
        viewport()->underMouse() ? indexAt(viewport()->mapFromGlobal(QCursor::pos())) : QModelIndex();
    const QRect area = pEvent->rect().translated(0, verticalOffset());
    const int last = std::min(area.bottom() / RowHeight(), RowCount() - 1);
    QPainter painter(viewport());
    for (int row = std::max(area.top() / RowHeight(), 0); row <= last; ++row) {
        const QModelIndex index = RowIndex(row);
        option.rect = visualRect(index);
        option.state = viewState;
        if (selectionModel()->isSelected(index)) {
            option.state |= QStyle::State_Selected;
        }
        if ((viewState & QStyle::State_Enabled) != 0) {
            const bool enabled = (model()->flags(index) & Qt::ItemIsEnabled) != 0;
            option.state.setFlag(QStyle::State_Enabled, enabled);
            option.palette.setCurrentColorGroup(enabled ? QPalette::Normal : QPalette::Disabled);
        }
        if (focus && index == current) {
            option.state |= QStyle::State_HasFocus;
        }
        option.state.setFlag(QStyle::State_MouseOver, index == hover);
        itemDelegateForIndex(index)->paint(&painter, option, index);
    }
}

void RowsView::changeEvent(QEvent* pEvent) {
    if (pEvent->type() == QEvent::FontChange || pEvent->type() == QEvent::StyleChange) {
        m_rowHeight = 0;
        scheduleDelayedItemsLayout();
    }
    QListView::changeEvent(pEvent);
}

QSize RowsView::viewportSizeHint() const {
    return {QAbstractItemView::viewportSizeHint().width(), RowCount() * RowHeight()};
}

int RowsView::RowHeight() const {
    if (m_rowHeight == 0) {
        // What the item delegate asks of the style for a row of text, with letters that reach
        // above and below the line, so that the height does not depend on the rows.
        QStyleOptionViewItem option;
        initViewItemOption(&option);
        option.features |= QStyleOptionViewItem::HasDisplay;
        option.text = QStringLiteral("Xg");
        m_rowHeight =
            std::max(style()->sizeFromContents(QStyle::CT_ItemViewItem, &option, QSize(), this).height(), 1);
    }
    return m_rowHeight;
}

int RowsView::RowCount() const {
    return model() != nullptr ? model()->rowCount(rootIndex()) : 0;
}

QModelIndex RowsView::RowIndex(int row) const {
    return row >= 0 && row < RowCount() ? model()->index(row, modelColumn(), rootIndex()) : QModelIndex();
}

int RowsView::RowAt(int y) const {
    return y >= 0 && y / RowHeight() < RowCount() ? y / RowHeight() : -1;
}

int RowsView::RowsPerPage() const {
    return std::max(viewport()->height() / RowHeight(), 1);
}

void RowsView::Settle() const {
    // The model's signals ask for a layout later; what needs the scroll bars right now does it now.
    const_cast<RowsView*>(this)->executeDelayedItemsLayout();
}

} // namespace klt
