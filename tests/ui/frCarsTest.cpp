#include "frCars.h"
#include "kvxLangApply.h"
#include "ui_frCars.h"
#include "vdrCarRec.h"
#include "vdrCars.h"
#include "vdrCarsUDF.h"
#include "vdrTestDatabase.h"
#include "vdrUDF.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

class CarView : public testing::Test {
protected:
    void SetUp() override {
        m_car = Cars().NewCar();
        TvdrCarRec rec = Cars().CarRec(m_car);
        rec.Year = 2004;
        rec.SetMake(QStringLiteral("Ford"));
        rec.SetModel(QStringLiteral("Taurus"));
        rec.SetPictureExtension(QStringLiteral("jpg"));
        Cars().StoreCarRec(rec);
        Cars().Save();
        m_view.SetOnLabelChange([this](const QString &text) { m_labels.append(text); });
        m_view.SetOnCarSaved([this] { ++m_saves; });
        m_view.SetOnLastCellTab([this](QWidget *) { ++m_tabsOut; });
        m_view.resize(500, 300);
    }

    void AddFields() {
        m_color = UDF().AddUdf(0, QStringLiteral("Color"));
        m_plate = UDF().AddUdf(1, QStringLiteral("Plate"));
        UDF().Save();
        CarsUDF().SetCarValue(m_car, m_color, QStringLiteral("red"));
        CarsUDF().Save();
    }

    QString Cell(int row, int column) { return m_view.Form().sgrUDF->item(row, column)->text(); }

    TvdrTestDatabase m_db;
    TfraCars m_view;
    qint32 m_car = -1;
    qint32 m_color = -1;
    qint32 m_plate = -1;
    QStringList m_labels;
    int m_saves = 0;
    int m_tabsOut = 0;
};

TEST_F(CarView, ShowsTheCarAndItsFieldsInTheirOrderAndWritesNothingUntouched) {
    AddFields();
    m_view.LoadCar(m_car);
    Ui::TfraCars &ui = m_view.Form();
    EXPECT_EQ(ui.nedYear->text(), QStringLiteral("2004"));
    EXPECT_EQ(ui.edtMake->text(), QStringLiteral("Ford"));
    EXPECT_EQ(ui.sgrUDF->horizontalHeaderItem(0)->text(), QStringLiteral("Field"));
    ASSERT_EQ(ui.sgrUDF->rowCount(), 2);
    EXPECT_EQ(Cell(0, 0), QStringLiteral("Color"));
    EXPECT_EQ(Cell(0, 1), QStringLiteral("red"));
    EXPECT_EQ(Cell(1, 0), QStringLiteral("Plate"));
    EXPECT_EQ(Cell(1, 1), QString());
    EXPECT_EQ(ui.sgrUDF->currentColumn(), 1);
    EXPECT_FALSE(ui.sgrUDF->item(0, 0)->flags() & Qt::ItemIsSelectable) << "names take no cursor";

    const QString before = Cars().GetValue(QStringLiteral("0000000"));
    m_view.CloseView();
    EXPECT_EQ(m_saves, 0) << "leaving untouched re-sorts nothing";
    EXPECT_TRUE(m_labels.isEmpty());
    EXPECT_EQ(CarsUDF().CarValue(m_car, m_plate), QString()) << "no empty value row was written";
    EXPECT_EQ(CarsUDF().Count(), 1);
}

TEST_F(CarView, TheLabelFollowsEveryKeystrokeAndClosingWritesTheWholeCar) {
    AddFields();
    m_view.LoadCar(m_car);
    Ui::TfraCars &ui = m_view.Form();
    ui.edtMake->selectAll();
    QTest::keyClicks(ui.edtMake, QStringLiteral("Audi"));
    EXPECT_EQ(m_labels.last(), QStringLiteral("2004 Audi Taurus"));
    EXPECT_EQ(m_labels.size(), 4) << "one label per keystroke";
    ui.nedYear->selectAll();
    QTest::keyClick(ui.nedYear, Qt::Key_Backspace);
    EXPECT_EQ(m_labels.last(), QStringLiteral("0 Audi Taurus")) << "an empty year reads 0";
    ui.sgrUDF->item(1, 1)->setText(QStringLiteral(" AB-123 "));
    m_view.CloseView();
    EXPECT_EQ(m_saves, 1);
    const TvdrCarRec stored = Cars().CarRec(m_car);
    EXPECT_EQ(stored.Year, 0);
    EXPECT_EQ(stored.Make, QStringLiteral("Audi"));
    EXPECT_EQ(stored.PictureExtension, QStringLiteral("jpg")) << "the picture stays";
    EXPECT_EQ(CarsUDF().CarValue(m_car, m_plate), QStringLiteral("AB-123"));
    EXPECT_EQ(CarsUDF().CarValue(m_car, m_color), QStringLiteral("red"));
}

TEST_F(CarView, AChangeOfLetterCaseAloneIsWrittenToo) {
    AddFields();
    m_view.LoadCar(m_car);
    m_view.Form().sgrUDF->item(0, 1)->setText(QStringLiteral("Red"));
    EXPECT_TRUE(m_view.Modified());
    m_view.CloseView();
    EXPECT_EQ(CarsUDF().CarValue(m_car, m_color), QStringLiteral("Red"));
}

TEST_F(CarView, WithoutFieldsThePlaceholderRowStoresNothing) {
    m_view.LoadCar(m_car);
    Ui::TfraCars &ui = m_view.Form();
    ASSERT_EQ(ui.sgrUDF->rowCount(), 1);
    EXPECT_EQ(Cell(0, 0), QStringLiteral("(No user-defined fields)"));
    EXPECT_FALSE(ui.sgrUDF->item(0, 1)->flags() & Qt::ItemIsEditable);
    QTest::keyClicks(ui.edtModel, QStringLiteral(" GL"));
    m_view.CloseView();
    EXPECT_EQ(Cars().CarRec(m_car).Model, QStringLiteral("Taurus GL"));
    EXPECT_EQ(CarsUDF().Count(), 0);
}

TEST_F(CarView, ARefreshKeepsWhatWasTypedAndShowsANewFieldEmpty) {
    AddFields();
    m_view.LoadCar(m_car);
    m_view.Form().sgrUDF->item(0, 1)->setText(QStringLiteral("blue"));
    const qint32 vin = UDF().AddUdf(2, QStringLiteral("VIN"));
    UDF().Save();
    m_view.RefreshUDFGrid();
    ASSERT_EQ(m_view.Form().sgrUDF->rowCount(), 3);
    EXPECT_EQ(Cell(0, 1), QStringLiteral("blue")) << "the value typed before the refresh stays";
    EXPECT_EQ(Cell(2, 0), QStringLiteral("VIN"));
    EXPECT_TRUE(m_view.Modified());
    m_view.Form().sgrUDF->item(2, 1)->setText(QStringLiteral("WF0XXX"));
    m_view.CloseView();
    EXPECT_EQ(CarsUDF().CarValue(m_car, m_color), QStringLiteral("blue"));
    EXPECT_EQ(CarsUDF().CarValue(m_car, vin), QStringLiteral("WF0XXX"));
}

TEST_F(CarView, TabWalksTheValuesAndLeavesAtBothEnds) {
    AddFields();
    m_view.show();
    m_view.LoadCar(m_car);
    TvdrUdfGrid *grid = m_view.Form().sgrUDF;
    grid->setFocus();
    grid->setCurrentCell(0, 1);
    QTest::keyClick(grid, Qt::Key_Tab);
    EXPECT_EQ(grid->currentRow(), 1);
    EXPECT_EQ(m_tabsOut, 0);
    QTest::keyClick(grid, Qt::Key_Tab);
    EXPECT_EQ(m_tabsOut, 1) << "Tab in the last row goes to the tree";
    EXPECT_EQ(grid->currentRow(), 1) << "and moves nothing in the grid";
    QTest::keyClick(grid, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(grid->currentRow(), 0);
    QTest::keyClick(grid, Qt::Key_Backtab, Qt::ShiftModifier);
    EXPECT_EQ(m_view.focusWidget(), m_view.Form().edtModel) << "Shift+Tab in the first row goes to Model";
    EXPECT_EQ(grid->currentRow(), 0);

    // The same while a value is open for typing.
    grid->setFocus();
    grid->setCurrentCell(1, 1);
    grid->editItem(grid->item(1, 1));
    QWidget *editor = QApplication::focusWidget() ? QApplication::focusWidget() : m_view.focusWidget();
    ASSERT_NE(editor, grid);
    QTest::keyClick(editor, Qt::Key_Tab);
    EXPECT_EQ(m_tabsOut, 2);
    EXPECT_EQ(grid->currentRow(), 1);
}

TEST_F(CarView, ADiscardedViewWritesNothing) {
    AddFields();
    m_view.LoadCar(m_car);
    QTest::keyClicks(m_view.Form().edtMake, QStringLiteral("x"));
    m_view.DiscardView();
    m_view.CloseView();
    EXPECT_EQ(Cars().CarRec(m_car).Make, QStringLiteral("Ford"));
    EXPECT_EQ(m_saves, 0);
}
