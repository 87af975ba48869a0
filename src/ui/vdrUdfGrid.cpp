#include "vdrUdfGrid.h"

#include <QHeaderView>
#include <QScrollBar>

TvdrUdfGrid::TvdrUdfGrid(QWidget *parent) : QTableWidget(0, 2, parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectItems);
    // The value under the cursor is always open for typing.
    setEditTriggers(QAbstractItemView::AllEditTriggers);
    setTabKeyNavigation(true);
    setWordWrap(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setSectionsMovable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setSectionResizeMode(0, QHeaderView::Interactive);
    horizontalHeader()->setStretchLastSection(true);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &TvdrUdfGrid::KeepCurrentRowVisible);
}

QModelIndex TvdrUdfGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) {
    const int row = currentRow();
    // Past either end the cursor stays: the owner takes the key instead.
    if (action == MoveNext)
        return row + 1 < rowCount() ? model()->index(row + 1, 1) : currentIndex();
    if (action == MovePrevious)
        return row > 0 ? model()->index(row - 1, 1) : currentIndex();
    const QModelIndex moved = QTableWidget::moveCursor(action, modifiers);
    // Only the values take the cursor.
    return moved.isValid() ? model()->index(moved.row(), 1) : moved;
}

bool TvdrUdfGrid::focusNextPrevChild(bool next) {
    const int row = currentRow();
    if (next && row + 1 >= rowCount() && m_onTabPastEnd) {
        m_onTabPastEnd();
        return true;
    }
    if (!next && row <= 0 && m_onBackTabPastStart) {
        m_onBackTabPastStart();
        return true;
    }
    return QTableWidget::focusNextPrevChild(next);
}

void TvdrUdfGrid::closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) {
    const int row = currentRow();
    const bool pastEnd = hint == QAbstractItemDelegate::EditNextItem && row + 1 >= rowCount();
    const bool pastStart = hint == QAbstractItemDelegate::EditPreviousItem && row <= 0;
    QTableWidget::closeEditor(editor, pastEnd || pastStart ? QAbstractItemDelegate::NoHint : hint);
    if (pastEnd && m_onTabPastEnd)
        m_onTabPastEnd();
    if (pastStart && m_onBackTabPastStart)
        m_onBackTabPastStart();
}

void TvdrUdfGrid::KeepCurrentRowVisible() {
    const int row = currentRow();
    if (row < 0 || rowCount() == 0)
        return;
    // Whole rows only: a row cut off at an edge does not count as shown.
    int first = rowAt(0);
    if (first >= 0 && rowViewportPosition(first) < 0 && first + 1 < rowCount())
        ++first;
    const int bottom = viewport()->height();
    int last = rowAt(bottom - 1) < 0 ? rowCount() - 1 : rowAt(bottom - 1);
    if (last > first && rowViewportPosition(last) + rowHeight(last) > bottom)
        --last;
    if (first >= 0 && row < first)
        setCurrentCell(first, 1);
    else if (row > last)
        setCurrentCell(last, 1);
}

void TvdrUdfGrid::SetNamesWidth(int width) {
    m_namesWidth = width;
    setColumnWidth(0, qMin(m_namesWidth, qMax(viewport()->width() / 2, 40)));
}

void TvdrUdfGrid::resizeEvent(QResizeEvent *event) {
    QTableWidget::resizeEvent(event);
    if (m_namesWidth > 0)
        setColumnWidth(0, qMin(m_namesWidth, qMax(viewport()->width() / 2, 40)));
}
