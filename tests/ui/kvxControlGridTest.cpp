#include "kvxControlGrid.h"

#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <QVBoxLayout>

#include <gtest/gtest.h>

namespace {

// Counts the calls of AdjustColumns, which the grid makes as its scroll bar
// comes and goes.
class TCountingGrid : public TkvxControlGrid {
public:
    int Adjusted = 0;
    void AdjustColumns() override {
        ++Adjusted;
        TkvxControlGrid::AdjustColumns();
    }
};

void FillLists(TkvxControlGrid &grid) {
    grid.ListFields().Add(QStringLiteral("Year"), std::make_unique<TkvxSelectionRec>(TkvxSelectionRec{0, 0}));
    grid.ListFields().Add(QStringLiteral("Make"), std::make_unique<TkvxSelectionRec>(TkvxSelectionRec{1, 0}));
    grid.ListFields().Add(QStringLiteral("Plate"),
                          std::make_unique<TkvxSelectionRec>(TkvxSelectionRec{4, 1}));
    grid.ListDirections() = QStringList{QStringLiteral("Ascending"), QStringLiteral("Descending")};
}

QStringList Items(const QComboBox *combo) {
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items.append(combo->itemText(i));
    return items;
}

// The right edge of the space the rows may use: the row area's inside less
// a shown scroll bar.
int UsableWidth(const TkvxControlGrid &grid) {
    const QScrollArea *area = grid.RowArea();
    return area->maximumViewportSize().width() -
           (grid.ScrollBarShown() ? area->verticalScrollBar()->sizeHint().width() : 0);
}

} // namespace

TEST(ControlGrid, AHeaderOfTwoFixedSectionsAboveRowsOfTwoLists) {
    TkvxControlGrid grid;
    EXPECT_EQ(grid.size(), QSize(400, 138));
    EXPECT_EQ(grid.HeaderTexts(), QStringList({"Field name", "Sort direction"}));
    const QHeaderView *header = grid.Header();
    EXPECT_EQ(header->count(), 2);
    EXPECT_EQ(header->sectionSize(0), 198);
    EXPECT_EQ(header->sectionResizeMode(0), QHeaderView::Fixed);
    EXPECT_EQ(header->sectionResizeMode(1), QHeaderView::Fixed);
    EXPECT_FALSE(header->sectionsClickable());
    grid.SetHeaderTexts({QStringLiteral("Feld")});
    EXPECT_EQ(grid.HeaderTexts(), QStringList({"Feld", "Sort direction"})) << "a short list keeps the rest";

    FillLists(grid);
    TkvxControlRow *row = grid.AddRow();
    EXPECT_EQ(Items(row->FieldCombo()), QStringList({"Year", "Make", "Plate"}));
    EXPECT_EQ(Items(row->DirectionCombo()), QStringList({"Ascending", "Descending"}));
    EXPECT_EQ(row->FieldCombo()->currentIndex(), -1) << "nothing chosen";
    EXPECT_EQ(row->DirectionCombo()->currentIndex(), -1);
    EXPECT_EQ(row->FieldCombo()->geometry(), QRect(0, 0, 195, row->FieldCombo()->sizeHint().height()));
    EXPECT_EQ(row->DirectionCombo()->x(), 196);
    EXPECT_EQ(row->height(), row->FieldCombo()->height() - 2);
    EXPECT_EQ(grid.ListFields().Objects(2)->FieldNbr, 4);
    EXPECT_EQ(grid.ListFields().Objects(2)->FieldKind, 1);
    EXPECT_EQ(grid.ListFields().Objects(3), nullptr);
    EXPECT_EQ(grid.ListFields().Strings(-1), QString());
}

TEST(ControlGrid, RowsStackInOrderAndAreFoundByIndexOrByTheirLists) {
    TkvxControlGrid grid;
    FillLists(grid);
    grid.show();
    TkvxControlRow *first = grid.AddRow();
    TkvxControlRow *second = grid.AddRow();
    TkvxControlRow *third = grid.AddRow();
    EXPECT_EQ(grid.RowCount(), 3);
    EXPECT_EQ(grid.Row(0), first);
    EXPECT_EQ(grid.Row(2), third);
    EXPECT_EQ(grid.Row(3), nullptr);
    EXPECT_EQ(grid.Row(-1), nullptr);
    EXPECT_EQ(second->y(), first->y() + first->height()) << "each row below the one before";
    EXPECT_EQ(third->y(), second->y() + second->height());

    EXPECT_EQ(grid.RowOf(second->FieldCombo()), second);
    EXPECT_EQ(grid.RowOf(second->DirectionCombo()), second);
    EXPECT_EQ(grid.RowOf(second), nullptr) << "only the lists name a row";
    EXPECT_EQ(grid.RowOf(nullptr), nullptr);
    QLineEdit stranger;
    EXPECT_EQ(grid.RowOf(&stranger), nullptr);
}

TEST(ControlGrid, DeletingRowsAlwaysLeavesTheLastOne) {
    TkvxControlGrid grid;
    FillLists(grid);
    TkvxControlRow *only = grid.AddRow();
    grid.DeleteRow(only);
    ASSERT_EQ(grid.RowCount(), 1);
    EXPECT_EQ(grid.Row(0), only);

    TkvxControlRow *second = grid.AddRow();
    TkvxControlRow *third = grid.AddRow();
    second->FieldCombo()->setCurrentIndex(1);
    grid.DeleteRow(only);
    EXPECT_EQ(grid.RowCount(), 2);
    EXPECT_EQ(grid.Row(0), second);
    EXPECT_EQ(second->y(), 0) << "the rows below move up";
    EXPECT_EQ(grid.Row(0)->FieldCombo()->currentIndex(), 1);
    grid.DeleteRow(nullptr);
    EXPECT_EQ(grid.RowCount(), 2);
    grid.DeleteRow(third);
    grid.DeleteRow(second);
    EXPECT_EQ(grid.RowCount(), 1);
    EXPECT_EQ(grid.Row(0), second);
}

TEST(ControlGrid, TheDirectionColumnFollowsTheScrollBar) {
    TCountingGrid grid;
    FillLists(grid);
    grid.show();
    grid.AddRow();
    ASSERT_FALSE(grid.ScrollBarShown());
    // Without a scroll bar the direction column reaches the right edge.
    const int wide = UsableWidth(grid);
    EXPECT_EQ(grid.Row(0)->DirectionCombo()->geometry().right() + 1, wide);
    EXPECT_EQ(grid.Header()->sectionPosition(1) + grid.Header()->sectionSize(1),
              grid.RowArea()->frameWidth() + wide)
        << "the header ends where the rows end";

    grid.Adjusted = 0;
    int added = 1;
    while (!grid.ScrollBarShown() && added < 50) {
        EXPECT_EQ(grid.Adjusted, 0) << "no adjusting while the rows fit";
        grid.AddRow();
        ++added;
    }
    ASSERT_TRUE(grid.ScrollBarShown());
    EXPECT_EQ(grid.Adjusted, 1);
    const int narrow = UsableWidth(grid);
    EXPECT_LT(narrow, wide);
    for (int i = 0; i < grid.RowCount(); ++i)
        EXPECT_EQ(grid.Row(i)->DirectionCombo()->geometry().right() + 1, narrow) << i;
    EXPECT_EQ(grid.Header()->sectionPosition(1) + grid.Header()->sectionSize(1),
              grid.RowArea()->frameWidth() + narrow);
    QApplication::processEvents();
    EXPECT_EQ(grid.RowArea()->verticalScrollBar()->value(), grid.RowArea()->verticalScrollBar()->maximum())
        << "the new row is scrolled into view";

    grid.Adjusted = 0;
    grid.DeleteRow(grid.Row(0));
    EXPECT_FALSE(grid.ScrollBarShown());
    EXPECT_EQ(grid.Adjusted, 1) << "the scroll bar went away";
    for (int i = 0; i < grid.RowCount(); ++i)
        EXPECT_EQ(grid.Row(i)->DirectionCombo()->geometry().right() + 1, wide) << i;
}

TEST(ControlGrid, TabGoesThroughTheRowsInOrderBetweenTheControlsAroundTheGrid) {
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *before = new QLineEdit(&window);
    auto *grid = new TkvxControlGrid(&window);
    auto *after = new QPushButton(QStringLiteral("OK"), &window);
    layout->addWidget(before);
    layout->addWidget(grid);
    layout->addWidget(after);
    FillLists(*grid);
    window.show();
    // Rows made after the button still come before it.
    TkvxControlRow *first = grid->AddRow();
    TkvxControlRow *second = grid->AddRow();
    before->setFocus();

    const QList<QWidget *> expected{first->FieldCombo(), first->DirectionCombo(), second->FieldCombo(),
                                    second->DirectionCombo(), after};
    for (QWidget *next : expected) {
        QTest::keyClick(window.focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(window.focusWidget(), next);
    }
    // The arrow keys choose in a row's lists.
    second->FieldCombo()->setFocus();
    QTest::keyClick(second->FieldCombo(), Qt::Key_Down);
    EXPECT_EQ(second->FieldCombo()->currentIndex(), 0);
    QTest::keyClick(second->FieldCombo(), Qt::Key_End);
    EXPECT_EQ(second->FieldCombo()->currentText(), QStringLiteral("Plate"));
}
