#include "qrMaint.h"
#include "vdrError.h"
#include "vdrFormatSettings.h"
#include "vdrMaint.h"
#include "vdrMaintFilter.h"
#include "vdrMaintNotes.h"
#include "vdrMaintRepairs.h"
#include "vdrMaintSortedList.h"
#include "vdrRepairs.h"
#include "vdrReportMetrics.h"
#include "vdrReportTestSupport.h"
#include "vdrTestPdf.h"

#include <gtest/gtest.h>

namespace {

class MaintReport : public TvdrReportTest {
protected:
    MaintReport() {
        m_car = AddCar(2004, QStringLiteral("Ford"), QStringLiteral("Taurus"));
        m_brakes = Repairs().AddRepair(QStringLiteral("Brakes"));
        m_oil = Repairs().AddRepair(QStringLiteral("Oil change"));
        m_wipers = Repairs().AddRepair(QStringLiteral("Wipers"));
        AddEvent(0, QDate(2004, 3, 15), 1234567, 45.5, {m_oil, m_brakes, m_wipers},
                 QStringLiteral("Check tyres\r\nNext visit in May"));
        AddEvent(1, QDate(2004, 1, 2), -5000, 1234, {m_oil});
        AddEvent(2, QDate(2004, 6, 30), 15000, 0, {});
    }

    void AddEvent(qint32 maintNbr, const QDate &date, qint32 mileage, double cost,
                  const QList<qint32> &repairs, const QString &note = QString()) {
        Maint().StoreEvent(MakeEvent(m_car, maintNbr, date, mileage, cost));
        for (qint32 repair : repairs)
            MaintRepairs().AddLink(m_car, maintNbr, repair);
        if (!note.isEmpty())
            MaintNotes().AddNote(m_car, maintNbr, note);
    }

    std::unique_ptr<TvdrMaintSortedList> List(quint8 column, quint8 direction) {
        return Maint().SortedList(m_car, column, direction);
    }

    qint32 m_car = 0;
    qint32 m_brakes = 0, m_oil = 0, m_wipers = 0;
};

} // namespace

TEST_F(MaintReport, PrintsTheViewsEventsInItsOrderWithRepairsNotesAndTotal) {
    const auto list = List(TvdrMaintSortedList::ByDate, TvdrMaintSortedList::Descending);
    const TvdrNullFilter all;
    const auto report = CreateMaintReport(m_car, *list, 1, all);
    const QString pdf = Pdf(*report);
    EXPECT_EQ(PdfPageCount(pdf), 1);
    EXPECT_EQ(PdfInfo(pdf, QStringLiteral("Title")),
              QStringLiteral("Maintenance history - 2004 Ford Taurus"));
    const QStringList lines = PdfLines(pdf);
    EXPECT_TRUE(InOrder(lines, {"Date: 3/1/2024",
                                "Vandor",
                                "Page 1",
                                "Maintenance history",
                                "2004 Ford Taurus",
                                "Date",
                                "Mileage",
                                "Cost",
                                "6/30/2004",
                                "15,000",
                                "$0.00",
                                "3/15/2004",
                                "1,234,567",
                                "$45.50",
                                "Wipers",
                                "Oil change",
                                "Brakes",
                                "Check tyres",
                                "Next visit in May",
                                "1/2/2004",
                                "-5,000",
                                "$1,234.00",
                                "Oil change",
                                "Total cost",
                                "$1,279.50"}));

    // Three repairs and a note of two lines: five lines under the event's
    // date, mileage and cost, which stand by their right edges.
    const TvdrReportLayout layout(*report);
    const TvdrPlacedBand event = BandsOf(layout, QStringLiteral("Detail")).at(1);
    QStringList memo;
    double date = 0;
    for (const TvdrPlacedItem &item : event.Items) {
        if (item.Control == QStringLiteral("qrmRepairs")) {
            memo.append(item.Text);
            EXPECT_EQ(item.Rect.left(), 48);
            EXPECT_GT(item.Rect.top(), date);
        } else if (item.Control == QStringLiteral("qrlDate")) {
            EXPECT_DOUBLE_EQ(item.Rect.right(), 93);
            date = item.Rect.bottom();
        } else if (item.Control == QStringLiteral("qrlMileage")) {
            EXPECT_DOUBLE_EQ(item.Rect.right(), 234);
        } else if (item.Control == QStringLiteral("qrlCost")) {
            EXPECT_DOUBLE_EQ(item.Rect.right(), 393);
        }
    }
    EXPECT_EQ(memo, QStringList({"Wipers", "Oil change", "Brakes", "Check tyres", "Next visit in May"}));
    TvdrReportMetrics metrics;
    EXPECT_DOUBLE_EQ(event.Height, 44 + 5 * metrics.LineSpacing(report->Font) - 17);
    for (const TvdrPlacedItem &line : ItemsOf(layout, QStringLiteral("qrsDetail")))
        EXPECT_EQ(line.Rect.width(), 720);

    const auto ascending = CreateMaintReport(m_car, *list, 0, all);
    EXPECT_EQ(
        TextsOf(TvdrReportLayout(*ascending), QStringLiteral("qrmRepairs")),
        QStringList({"Brakes", "Oil change", "Wipers", "Check tyres", "Next visit in May", "Oil change"}));
}

TEST_F(MaintReport, FiltersNarrowTheEventsAndTheTotalAsInTheView) {
    const auto list = List(TvdrMaintSortedList::ByCost, TvdrMaintSortedList::Ascending);
    const TvdrCostFilter some(40, 2000);
    const auto report = CreateMaintReport(m_car, *list, 0, some);
    const QStringList lines = PdfLines(Pdf(*report));
    EXPECT_TRUE(InOrder(lines, {"3/15/2004", "$45.50", "1/2/2004", "$1,234.00", "Total cost", "$1,279.50"}));
    EXPECT_FALSE(lines.join(QLatin1Char('\n')).contains(QStringLiteral("6/30/2004")));
    EXPECT_EQ(report->TotalCost(), list->TotalCost(some));
    // A preview lays the report out again; the total starts from 0 each time.
    const TvdrReportLayout again(*report);
    EXPECT_EQ(TextsOf(again, QStringLiteral("qrlTotalCost")), QStringList(QStringLiteral("$1,279.50")));

    const TvdrMileageFilter none(20000, 10000);
    const auto empty = CreateMaintReport(m_car, *list, 0, none);
    const QString pdf = Pdf(*empty, QStringLiteral("empty.pdf"));
    EXPECT_EQ(PdfPageCount(pdf), 1);
    const QStringList emptyLines = PdfLines(pdf);
    EXPECT_TRUE(InOrder(
        emptyLines, {"Page 1", "Maintenance history", "2004 Ford Taurus", "Mileage", "Total cost", "$0.00"}));
    EXPECT_EQ(emptyLines.size(), 5) << emptyLines.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(BandsOf(TvdrReportLayout(*empty), QStringLiteral("Detail")).empty());
}

TEST_F(MaintReport, NumbersDatesAndAmountsFollowTheUsersFormats) {
    TvdrFormatSettings::SetCurrent(TvdrFormatSettings::CommaLocale());
    const auto list = List(TvdrMaintSortedList::ByMileage, TvdrMaintSortedList::Ascending);
    const TvdrNullFilter all;
    const QStringList lines = PdfLines(Pdf(*CreateMaintReport(m_car, *list, 0, all)));
    TvdrFormatSettings::SetCurrent(TvdrFormatSettings::PointLocale());
    EXPECT_TRUE(
        InOrder(lines, {"Date: 01.03.2024", "02.01.2004", "-5.000", "1.234,00 \u20AC", "30.06.2004", "15.000",
                        "0,00 \u20AC", "15.03.2004", "1.234.567", "45,50 \u20AC", "1.279,50 \u20AC"}));
}

TEST_F(MaintReport, ManyEventsContinueOnPagesThatEachHaveTheHeadersAndTheirNumber) {
    QStringList mileages;
    for (int i = 3; i < 63; ++i) {
        AddEvent(i, QDate(2005, 1, 1).addDays(i), 20000 + i * 1000, 10 + i, {m_oil},
                 QStringLiteral("Note of event %1").arg(i));
        mileages.append(TvdrFormatSettings::Current().Grouped(20000 + i * 1000));
    }
    const auto list = List(TvdrMaintSortedList::ByDate, TvdrMaintSortedList::Ascending);
    const TvdrNullFilter all;
    const auto report = CreateMaintReport(m_car, *list, 0, all);
    const QString pdf = Pdf(*report);
    const int pages = PdfPageCount(pdf);
    EXPECT_GE(pages, 3);
    for (int page = 1; page <= pages; ++page)
        EXPECT_TRUE(InOrder(PdfLines(pdf, page), {QStringLiteral("Page %1").arg(page), "Maintenance history",
                                                  "2004 Ford Taurus", "Date", "Mileage", "Cost"}))
            << "page " << page;
    EXPECT_TRUE(InOrder(PdfLines(pdf), mileages));
    EXPECT_TRUE(InOrder(PdfLines(pdf, pages), {"Total cost"}));

    const TvdrReportLayout layout(*report);
    ASSERT_EQ(int(layout.Pages().size()), pages);
    for (const TvdrReportPage &page : layout.Pages())
        for (const TvdrPlacedBand &band : page.Bands)
            EXPECT_LE(band.Top + band.Height, report->PageHeight()) << band.Name.toStdString();
    EXPECT_EQ(BandsOf(layout, QStringLiteral("Detail")).size(), 63u) << "no event split";
}

TEST_F(MaintReport, TheEventsOfAnotherCarAreRefused) {
    const qint32 other = AddCar(1998, QStringLiteral("VW"), QString());
    const auto list = List(TvdrMaintSortedList::ByDate, TvdrMaintSortedList::Ascending);
    const TvdrNullFilter all;
    EXPECT_EQ(ErrorMessageOf([&] { CreateMaintReport(other, *list, 0, all); }),
              "The maintenance report of car 1 was given the events of car 0");
}
