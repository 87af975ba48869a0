#pragma once

#include <QTableWidget>

#include <functional>

// The car view's grid of user-defined fields: names in column 0, values in
// column 1, the only column that takes the cursor. Tab and Shift+Tab move
// one row down or up; past the last or the first row the grid hands the
// key to its owner instead of moving.
class TvdrUdfGrid : public QTableWidget {
public:
    explicit TvdrUdfGrid(QWidget *parent = nullptr);

    void SetOnTabPastEnd(std::function<void()> handler) { m_onTabPastEnd = std::move(handler); }
    void SetOnBackTabPastStart(std::function<void()> handler) { m_onBackTabPastStart = std::move(handler); }

    // Keeps the current row visible when the grid scrolls without it.
    void KeepCurrentRowVisible();

    // The width the names want; they never take more than half the grid,
    // so long names do not push the values out of sight.
    void SetNamesWidth(int width);

protected:
    void resizeEvent(QResizeEvent *event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    // Tab while no value is open for typing.
    bool focusNextPrevChild(bool next) override;
    // Tab while a value is open for typing.
    void closeEditor(QWidget *editor, QAbstractItemDelegate::EndEditHint hint) override;

private:
    std::function<void()> m_onTabPastEnd;
    std::function<void()> m_onBackTabPastStart;
    int m_namesWidth = 0;
};
