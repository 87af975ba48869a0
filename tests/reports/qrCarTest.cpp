#include "qrCar.h"
#include "vdrCarsUDF.h"
#include "vdrReportMemo.h"
#include "vdrReportMetrics.h"
#include "vdrReportTestSupport.h"
#include "vdrTestPdf.h"
#include "vdrUDF.h"

#include <gtest/gtest.h>

namespace {

class CarReport : public TvdrReportTest {
protected:
    qint32 m_car = AddCar(2004, QStringLiteral("Ford"), QStringLiteral("Taurus"));
    TvdrReportMetrics m_metrics;
};

} // namespace

TEST_F(CarReport, ValuesStandInAColumnThreeBlanksAfterTheLongestNameInDisplayOrder) {
    // Numbers and positions differ, so the display order is not number order.
    const qint32 tyres = UDF().AddUdf(2, QStringLiteral("Tyres"));
    const qint32 insurance = UDF().AddUdf(1, QStringLiteral("Insurance number"));
    const qint32 plate = UDF().AddUdf(0, QStringLiteral("Plate"));
    CarsUDF().SetCarValue(m_car, plate, QStringLiteral("ABC-123"));
    CarsUDF().SetCarValue(m_car, insurance, QStringLiteral("77-4411"));
    CarsUDF().SetCarValue(m_car, tyres, QStringLiteral("205/55 R16"));

    const auto report = CreateCarReport(m_car);
    const QString pdf = Pdf(*report);
    EXPECT_EQ(PdfPageCount(pdf), 1);
    EXPECT_TRUE(
        InOrder(PdfLines(pdf), {"Date: 3/1/2024", "Vandor", "Page 1", "Car details", "2004 Ford Taurus",
                                "Plate", "ABC-123", "Insurance number", "77-4411", "Tyres", "205/55 R16"}));

    const TvdrReportLayout layout(*report);
    const std::vector<TvdrPlacedItem> names = ItemsOf(layout, QStringLiteral("qrmUdfField"));
    const std::vector<TvdrPlacedItem> values = ItemsOf(layout, QStringLiteral("qrmUdfValue"));
    ASSERT_EQ(names.size(), 3u);
    ASSERT_EQ(values.size(), 3u);
    const double column = 48 + m_metrics.Width(report->Font, QStringLiteral("Insurance number   "));
    for (size_t i = 0; i < 3; ++i) {
        EXPECT_EQ(names[i].Rect.left(), 48);
        EXPECT_DOUBLE_EQ(values[i].Rect.left(), column);
        EXPECT_EQ(values[i].Rect.top(), names[i].Rect.top()) << "level with its name";
    }
    EXPECT_EQ(ItemsOf(layout, QStringLiteral("qrlVehicle"))[0].Rect.topLeft(), QPointF(0, 42 + 9));
    EXPECT_EQ(ItemsOf(layout, QStringLiteral("qrsTop"))[0].Rect, QRectF(0, 37, 720, 5));
    EXPECT_EQ(names[0].Rect.top(), 42 + 35);

    // Whatever position the longest name has.
    UDF().UpdateUdf(insurance, 2, QStringLiteral("Insurance number"));
    UDF().UpdateUdf(tyres, 1, QStringLiteral("Tyres"));
    const TvdrReportLayout moved(*report);
    EXPECT_EQ(
        TextsOf(moved, QStringLiteral("qrmUdfField")),
        QStringList({QStringLiteral("Plate"), QStringLiteral("Tyres"), QStringLiteral("Insurance number")}));
    for (const TvdrPlacedItem &value : ItemsOf(moved, QStringLiteral("qrmUdfValue")))
        EXPECT_DOUBLE_EQ(value.Rect.left(), column);
}

TEST_F(CarReport, FieldsWithoutValuesOrWithoutDefinitions) {
    const auto bare = CreateCarReport(m_car);
    const QStringList bareLines = PdfLines(Pdf(*bare));
    EXPECT_EQ(bareLines.size(), 3) << bareLines.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(InOrder(bareLines, {"Car details", "2004 Ford Taurus"}));
    const TvdrReportLayout bareLayout(*bare);
    EXPECT_TRUE(ItemsOf(bareLayout, QStringLiteral("qrmUdfField")).empty());
    EXPECT_TRUE(ItemsOf(bareLayout, QStringLiteral("qrmUdfValue")).empty());
    EXPECT_EQ(BandsOf(bareLayout, QStringLiteral("Detail")).at(0).Height, 55);

    UDF().AddUdf(0, QStringLiteral("Plate"));
    UDF().AddUdf(1, QStringLiteral("Colour"));
    const auto empty = CreateCarReport(m_car);
    const TvdrReportLayout layout(*empty);
    EXPECT_EQ(TextsOf(layout, QStringLiteral("qrmUdfField")), QStringList({"Plate", "Colour"}));
    EXPECT_EQ(TextsOf(layout, QStringLiteral("qrmUdfValue")), QStringList({QString(), QString()}));
    EXPECT_TRUE(InOrder(PdfLines(Pdf(*empty)), {"2004 Ford Taurus", "Plate", "Colour"}));
}

TEST_F(CarReport, ALongValueWrapsOnThePageAndKeepsTheNextFieldLevel) {
    const qint32 notes = UDF().AddUdf(0, QStringLiteral("Notes"));
    const qint32 plate = UDF().AddUdf(1, QStringLiteral("Plate"));
    const QString story = QStringLiteral("Bought from the first owner in the spring, ").repeated(5).trimmed();
    CarsUDF().SetCarValue(m_car, notes, story);
    CarsUDF().SetCarValue(m_car, plate, QStringLiteral("ABC-123"));
    const auto report = CreateCarReport(m_car);
    const TvdrReportLayout layout(*report);
    const std::vector<TvdrPlacedItem> values = ItemsOf(layout, QStringLiteral("qrmUdfValue"));
    const std::vector<TvdrPlacedItem> names = ItemsOf(layout, QStringLiteral("qrmUdfField"));
    ASSERT_GT(values.size(), 2u);
    ASSERT_EQ(names.size(), values.size());
    QStringList wrapped;
    for (size_t i = 0; i + 1 < values.size(); ++i) {
        EXPECT_LE(values[i].Rect.left() + m_metrics.Width(report->Font, values[i].Text), 720);
        wrapped.append(values[i].Text);
    }
    EXPECT_EQ(wrapped.join(QLatin1Char(' ')), story);
    EXPECT_EQ(names.front().Text, QStringLiteral("Notes"));
    EXPECT_EQ(names.back().Text, QStringLiteral("Plate"));
    EXPECT_EQ(values.back().Text, QStringLiteral("ABC-123"));
    EXPECT_EQ(names.back().Rect.top(), values.back().Rect.top());
}
