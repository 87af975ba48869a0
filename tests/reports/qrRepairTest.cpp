#include "qrRepair.h"
#include "vdrMaintRepairs.h"
#include "vdrRepairs.h"
#include "vdrReportTestSupport.h"
#include "vdrTestPdf.h"

#include <gtest/gtest.h>

namespace {

class RepairReport : public TvdrReportTest {
protected:
    RepairReport() {
        for (const char *text : {"Brakes", "Air filter", "Wipers", "Oil change"})
            Repairs().AddRepair(QLatin1String(text));
    }
};

} // namespace

TEST_F(RepairReport, ListsTheDescriptionsInTheViewsOrder) {
    Repairs().BuildOrder(false);
    const auto report = CreateRepairReport();
    QString pdf = Pdf(*report);
    EXPECT_EQ(PdfPageCount(pdf), 1);
    EXPECT_EQ(PdfInfo(pdf, QStringLiteral("Title")), QStringLiteral("Repair descriptions"));
    EXPECT_TRUE(
        InOrder(PdfLines(pdf), {"Date: 3/1/2024", "Vandor", "Page 1", "Repair descriptions",
                                "Repair description", "Air filter", "Brakes", "Oil change", "Wipers"}));

    Repairs().BuildOrder(true);
    pdf = Pdf(*report, QStringLiteral("descending.pdf"));
    EXPECT_TRUE(
        InOrder(PdfLines(pdf), {"Repair description", "Wipers", "Oil change", "Brakes", "Air filter"}));
    const TvdrReportLayout layout(*report);
    EXPECT_EQ(ItemsOf(layout, QStringLiteral("qrsBottom"))[0].Rect, QRectF(0, 40 + 22, 720, 5));
    EXPECT_EQ(ItemsOf(layout, QStringLiteral("qrlDescription"))[0].Rect.topLeft(), QPointF(0, 40 + 27 + 2));
}

TEST_F(RepairReport, AnOrderLeftStaleByRemovingUnusedDescriptionsIsRebuilt) {
    MaintRepairs().AddLink(0, 0, Repairs().FindRepair(QStringLiteral("Wipers")));
    MaintRepairs().AddLink(0, 0, Repairs().FindRepair(QStringLiteral("Brakes")));
    Repairs().BuildOrder(true);
    Repairs().RemoveUnlinked();
    EXPECT_EQ(TextsOf(TvdrReportLayout(*CreateRepairReport()), QStringLiteral("qrlDescription")),
              QStringList({"Wipers", "Brakes"}));
}

TEST_F(RepairReport, ManyDescriptionsGetTheColumnHeadingOnEveryPageAndNoneGetsNothing) {
    for (int i = 0; i < 60; ++i)
        Repairs().AddRepair(QStringLiteral("Repair %1").arg(i, 2, 10, QLatin1Char('0')));
    Repairs().BuildOrder(false);
    const QString pdf = Pdf(*CreateRepairReport());
    ASSERT_EQ(PdfPageCount(pdf), 2);
    EXPECT_TRUE(InOrder(PdfLines(pdf, 2), {"Page 2", "Repair descriptions", "Repair description", "Wipers"}));
    EXPECT_TRUE(InOrder(PdfLines(pdf), {"Repair 00", "Repair 59", "Wipers"}));

    Repairs().Clear();
    const QStringList lines = PdfLines(Pdf(*CreateRepairReport(), QStringLiteral("empty.pdf")));
    EXPECT_EQ(lines.size(), 3) << lines.join(QLatin1Char('\n')).toStdString();
    EXPECT_TRUE(InOrder(lines, {"Page 1", "Repair descriptions", "Repair description"}));
}
