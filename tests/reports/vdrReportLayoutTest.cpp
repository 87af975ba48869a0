#include "vdrError.h"
#include "vdrReport.h"
#include "vdrReportImage.h"
#include "vdrReportLabel.h"
#include "vdrReportMemo.h"
#include "vdrReportMetrics.h"
#include "vdrReportPaint.h"
#include "vdrReportPdf.h"
#include "vdrReportTestSupport.h"
#include "vdrTestPdf.h"

#include <QPdfWriter>
#include <gtest/gtest.h>

#include <map>

namespace {

using TAlign = TvdrReportLabel::TAlign;

// Page header 40 with the page number, child 48, details of 44 that print
// "Item n" and the lines Lines(n) in a memo, a summary of 30.
class TListReport : public TvdrReport {
public:
    explicit TListReport(int items) {
        TvdrReportBand &header = SetPageHeader(QStringLiteral("PageHeader"), 40);
        TvdrReportLabel &page =
            header.Add<TvdrReportLabel>(QStringLiteral("qrlPageNbr"), 624, 1, 95, TAlign::Right);
        header.BeforePrint = [&page](const TvdrBandPrint &print) {
            page.Caption = QStringLiteral("Page %1").arg(print.PageNumber);
            return true;
        };
        SetPageHeaderChild(QStringLiteral("ColumnHeader"), 48)
            .Add<TvdrReportLabel>(QStringLiteral("qrlHeading"), 0, 4)
            .Caption = QStringLiteral("Heading");
        TvdrReportBand &detail = AddDetail(QStringLiteral("Detail"), 44);
        detail.ItemCount = items;
        TvdrReportLabel &label = detail.Add<TvdrReportLabel>(QStringLiteral("qrlItem"), 0, 7);
        TvdrReportMemo &memo = detail.Add<TvdrReportMemo>(QStringLiteral("qrmLines"), 48, 24, 609, 17);
        detail.BeforePrint = [this, &label, &memo](const TvdrBandPrint &print) {
            if (Skip && Skip(print.Item))
                return false;
            label.Caption = QStringLiteral("Item %1").arg(print.Item);
            memo.Lines = Lines ? Lines(print.Item) : QStringList();
            return true;
        };
        SetSummary(QStringLiteral("Total"), 30).Add<TvdrReportLabel>(QStringLiteral("qrlEnd"), 0, 7).Caption =
            QStringLiteral("End");
    }

    void BeforeGenerate() override { ++Generated; }

    std::function<bool(int)> Skip;
    std::function<QStringList(int)> Lines;
    int Generated = 0;
};

QStringList Numbered(const QString &prefix, int from, int to) {
    QStringList texts;
    for (int i = from; i < to; ++i)
        texts.append(prefix.arg(i));
    return texts;
}

double LineSpacing() {
    TvdrReportMetrics metrics;
    return metrics.LineSpacing(TvdrReportMetrics::DefaultFont());
}

} // namespace

TEST(ReportLayout, BandsThatDoNotFitMoveWholeToTheNextPageBelowTheHeaders) {
    TListReport report(50);
    const TvdrReportLayout layout(report);
    // 960 pixels of page, 88 of headers: 19 details of 44 fit on a page.
    ASSERT_EQ(layout.Pages().size(), 3u);
    EXPECT_EQ(TextsOf(layout, QStringLiteral("qrlPageNbr")),
              QStringList({QStringLiteral("Page 1"), QStringLiteral("Page 2"), QStringLiteral("Page 3")}));
    EXPECT_EQ(TextsOf(layout, QStringLiteral("qrlItem")), Numbered(QStringLiteral("Item %1"), 0, 50));
    int item = 0;
    for (const TvdrReportPage &page : layout.Pages()) {
        ASSERT_GE(page.Bands.size(), 2u);
        EXPECT_EQ(page.Bands[0].Name, QStringLiteral("PageHeader"));
        EXPECT_EQ(page.Bands[0].Top, 0);
        EXPECT_EQ(page.Bands[1].Name, QStringLiteral("ColumnHeader"));
        EXPECT_EQ(page.Bands[1].Top, 40);
        double y = 88;
        for (size_t i = 2; i < page.Bands.size(); ++i) {
            const TvdrPlacedBand &band = page.Bands[i];
            EXPECT_EQ(band.Top, y) << band.Name.toStdString() << " on page " << page.Number;
            EXPECT_LE(band.Top + band.Height, report.PageHeight());
            if (band.Kind == TvdrBandKind::Detail) {
                EXPECT_EQ(band.Item, item++);
            }
            y += band.Height;
        }
    }
    EXPECT_EQ(BandsOf(layout, QStringLiteral("Detail")).size(), 50u);
    EXPECT_EQ(TextsOf(layout, QStringLiteral("qrlItem"), 1).size(), 19u);
    EXPECT_EQ(TextsOf(layout, QStringLiteral("qrlItem"), 2).size(), 19u);
    const TvdrPlacedBand &last = layout.Pages().back().Bands.back();
    EXPECT_EQ(last.Name, QStringLiteral("Total"));
    EXPECT_EQ(last.Top, 88 + 12 * 44) << "right after the last detail";

    // One page with no details still has its headers and the summary.
    TListReport empty(0);
    const TvdrReportLayout emptyLayout(empty);
    ASSERT_EQ(emptyLayout.Pages().size(), 1u);
    EXPECT_EQ(emptyLayout.Pages()[0].Bands.size(), 3u);
    EXPECT_EQ(TextsOf(emptyLayout, QStringLiteral("qrlEnd")), QStringList(QStringLiteral("End")));
}

TEST(ReportLayout, ABandTallerThanAPageIsSplitBetweenLinesAndLosesNothing) {
    TListReport report(3);
    report.Lines = [](int item) {
        return item == 1 ? Numbered(QStringLiteral("Line %1"), 0, 150) : QStringList();
    };
    const TvdrReportLayout layout(report);
    EXPECT_EQ(TextsOf(layout, QStringLiteral("qrmLines")), Numbered(QStringLiteral("Line %1"), 0, 150));

    const std::vector<TvdrPlacedBand> pieces = BandsOf(layout, QStringLiteral("Detail"));
    ASSERT_GE(pieces.size(), 5u);
    EXPECT_EQ(pieces[0].Item, 0);
    double tall = 0;
    for (size_t i = 1; i + 1 < pieces.size(); ++i) {
        EXPECT_EQ(pieces[i].Item, 1);
        EXPECT_EQ(pieces[i].Piece, int(i) - 1);
        EXPECT_EQ(pieces[i].Top, 88) << "on a page of its own, continued right below the headers";
        tall += pieces[i].Height;
        for (const TvdrPlacedItem &item : pieces[i].Items) {
            EXPECT_GE(item.Rect.top(), pieces[i].Top);
            EXPECT_LE(item.Rect.bottom(), report.PageHeight()) << item.Text.toStdString();
        }
    }
    EXPECT_NEAR(tall, 44 + 150 * LineSpacing() - 17, 1e-6);
    EXPECT_EQ(pieces.back().Item, 2);
    EXPECT_EQ(pieces.back().Piece, 0);
    EXPECT_EQ(layout.Pages()[0].Bands.size(), 3u) << "the rest of page 1 is too small for a start";
    EXPECT_EQ(TextsOf(layout, QStringLiteral("qrlItem"), 2), QStringList(QStringLiteral("Item 1")))
        << "on the first piece only";
    for (const TvdrReportPage &page : layout.Pages())
        EXPECT_EQ(TextsOf(layout, QStringLiteral("qrlHeading"), page.Number),
                  QStringList(QStringLiteral("Heading")));
}

TEST(ReportLayout, HooksFillTheBandsMaySkipItemsAndRunAgainOnEveryLayout) {
    TListReport report(10);
    report.Skip = [](int item) { return item % 2 == 1; };
    const TvdrReportLayout first(report);
    EXPECT_EQ(TextsOf(first, QStringLiteral("qrlItem")),
              QStringList({QStringLiteral("Item 0"), QStringLiteral("Item 2"), QStringLiteral("Item 4"),
                           QStringLiteral("Item 6"), QStringLiteral("Item 8")}));
    const TvdrReportLayout second(report);
    EXPECT_EQ(report.Generated, 2);
    EXPECT_EQ(TextsOf(second, QStringLiteral("qrlItem")), TextsOf(first, QStringLiteral("qrlItem")));
}

TEST(ReportLayout, LabelsKeepTheirEdgeOrCentreAndMemosWrapWithinTheirWidth) {
    TvdrReport report;
    TvdrReportMetrics metrics;
    TvdrReportBand &band = report.AddDetail(QStringLiteral("Detail"), 44);
    band.ItemCount = 2;
    TvdrReportLabel &date = band.Add(TvdrReportLabel::RightEdged(QStringLiteral("qrlDate"), 93, 7));
    TvdrReportLabel &page =
        band.Add<TvdrReportLabel>(QStringLiteral("qrlPageNbr"), 624, 1, 95, TAlign::Right);
    TvdrReportLabel &title =
        band.Add<TvdrReportLabel>(QStringLiteral("qrlTitle"), 144, 1, 385, TAlign::Centre);
    title.Bold = true;
    TvdrReportLabel &vehicle = band.Add<TvdrReportLabel>(QStringLiteral("qrlVehicle"), 10, 4);
    TvdrReportMemo &memo = band.Add<TvdrReportMemo>(QStringLiteral("qrmText"), 48, 24, 150, 17);
    const QString sentence = QStringLiteral("The quick brown fox jumps over the lazy dog and runs far away");
    const QString word = QStringLiteral("Supercalifragilisticexpialidocious").repeated(3);
    band.BeforePrint = [&](const TvdrBandPrint &print) {
        date.Caption = print.Item == 0 ? QStringLiteral("1/2/2004") : QStringLiteral("12/31/2004");
        page.Caption = QStringLiteral("Page 1");
        title.Caption = QStringLiteral("Vandor");
        vehicle.Caption = QStringLiteral("2004 Ford Taurus");
        memo.Lines = {sentence, word};
        return true;
    };
    const TvdrReportLayout layout(report);

    for (const TvdrPlacedItem &item : ItemsOf(layout, QStringLiteral("qrlDate"))) {
        EXPECT_DOUBLE_EQ(item.Rect.right(), 93) << item.Text.toStdString();
        EXPECT_DOUBLE_EQ(item.Rect.width(), metrics.Width(report.Font, item.Text));
        EXPECT_EQ(item.Align, Qt::AlignRight);
    }
    const TvdrPlacedItem pageItem = ItemsOf(layout, QStringLiteral("qrlPageNbr"))[0];
    EXPECT_EQ(pageItem.Rect.left(), 624);
    EXPECT_EQ(pageItem.Rect.width(), 95);
    EXPECT_EQ(pageItem.Align, Qt::AlignRight);
    const TvdrPlacedItem titleItem = ItemsOf(layout, QStringLiteral("qrlTitle"))[0];
    EXPECT_EQ(titleItem.Rect.left(), 144);
    EXPECT_EQ(titleItem.Rect.width(), 385);
    EXPECT_EQ(titleItem.Align, Qt::AlignHCenter);
    EXPECT_TRUE(titleItem.Font.bold());
    const TvdrPlacedItem vehicleItem = ItemsOf(layout, QStringLiteral("qrlVehicle"))[0];
    EXPECT_EQ(vehicleItem.Rect.topLeft(), QPointF(10, 4));
    EXPECT_DOUBLE_EQ(vehicleItem.Rect.width(), metrics.Width(report.Font, vehicleItem.Text));
    EXPECT_FALSE(vehicleItem.Font.bold());

    const std::vector<TvdrPlacedBand> bands = BandsOf(layout, QStringLiteral("Detail"));
    ASSERT_EQ(bands.size(), 2u);
    QStringList words, pieces;
    int count = 0;
    for (const TvdrPlacedItem &line : bands[0].Items) {
        if (line.Control != QStringLiteral("qrmText"))
            continue;
        EXPECT_LE(metrics.Width(report.Font, line.Text), 150) << line.Text.toStdString();
        EXPECT_DOUBLE_EQ(line.Rect.top(), 24 + count++ * metrics.LineSpacing(report.Font));
        (line.Text.contains(QLatin1Char(' ')) || sentence.contains(line.Text) ? words : pieces)
            .append(line.Text);
    }
    EXPECT_GT(words.size(), 2);
    EXPECT_EQ(words.join(QLatin1Char(' ')), sentence) << "broken at blanks";
    EXPECT_GT(pieces.size(), 1);
    EXPECT_EQ(pieces.join(QString()), word) << "a word wider than the memo broken anywhere";
    EXPECT_DOUBLE_EQ(bands[0].Height, 44 + count * metrics.LineSpacing(report.Font) - 17);
    EXPECT_DOUBLE_EQ(bands[1].Top, bands[0].Height);
}

TEST(ReportLayout, PicturesKeepTheirSizeOrShrinkToTheRoomKeepingProportions) {
    TvdrReport report(QPageLayout::Landscape);
    report.SetPageHeader(QStringLiteral("PageHeader"), 42);
    TvdrReportBand &band = report.AddDetail(QStringLiteral("Detail"), 108);
    // Its design height fills the band: a picture stretches the band only
    // beyond that.
    TvdrReportImage &image = band.Add<TvdrReportImage>(QStringLiteral("qriCar"), 0, 35, 0, 73);
    const auto place = [&](const QSize &size) {
        image.Picture = size.isEmpty() ? QImage() : QImage(size, QImage::Format_RGB32);
        const TvdrReportLayout layout(report);
        const std::vector<TvdrPlacedItem> items = ItemsOf(layout, QStringLiteral("qriCar"));
        const TvdrPlacedBand detail = BandsOf(layout, QStringLiteral("Detail")).at(0);
        return std::make_pair(items.empty() ? QRectF() : items[0].Rect, detail.Height);
    };
    EXPECT_EQ(place(QSize(200, 100)), std::make_pair(QRectF(0, 42 + 35, 200, 100), 135.0));
    EXPECT_EQ(place(QSize(200, 50)), std::make_pair(QRectF(0, 42 + 35, 200, 50), 108.0));
    EXPECT_EQ(place(QSize(3000, 1500)), std::make_pair(QRectF(0, 42 + 35, 960, 480), 35 + 480.0));
    const double room = 720 - 42 - 35;
    EXPECT_EQ(place(QSize(400, 2000)),
              std::make_pair(QRectF(0, 42 + 35, 400 * room / 2000, room), 35 + room));
    EXPECT_EQ(place(QSize()), std::make_pair(QRectF(), 108.0)) << "no picture, nothing printed";
}

TEST(ReportLayout, PaintedTextStandsWhereTheLayoutPutsItAtAnyResolution) {
    TvdrTempFolder folder;
    TvdrReport report;
    TvdrReportBand &header = report.SetPageHeader(QStringLiteral("PageHeader"), 40);
    header.Add<TvdrReportLabel>(QStringLiteral("qrlLeft"), 0, 1).Caption = QStringLiteral("Leftmost");
    header.Add<TvdrReportLabel>(QStringLiteral("qrlRight"), 624, 1, 95, TAlign::Right).Caption =
        QStringLiteral("Rightmost");
    header.Add<TvdrReportLabel>(QStringLiteral("qrlLow"), 300, 900, 0, TAlign::Left).Caption =
        QStringLiteral("Lowest");
    report.Title = QStringLiteral("Positions");

    const QString fine = folder.File(QStringLiteral("fine.pdf"));
    WriteReportPdf(report, fine);
    const QString coarse = folder.File(QStringLiteral("coarse.pdf"));
    {
        QPdfWriter writer(coarse);
        writer.setResolution(96);
        PaintReport(report, writer);
    }
    EXPECT_EQ(PdfInfo(fine, QStringLiteral("Title")), QStringLiteral("Positions"));
    EXPECT_EQ(PdfInfo(fine, QStringLiteral("Page size")), QStringLiteral("612 x 792 pts (letter)"));
    // Points are 3/4 of a 96-dpi pixel; the margin is 36 points.
    for (const QString &file : {fine, coarse}) {
        std::map<QString, QRectF> boxes;
        for (const TvdrPdfWord &word : PdfWords(file))
            boxes[word.Text] = word.Box;
        ASSERT_EQ(boxes.size(), 3u) << file.toStdString();
        EXPECT_NEAR(boxes[QStringLiteral("Leftmost")].left(), 36, 1.5);
        EXPECT_NEAR(boxes[QStringLiteral("Leftmost")].top(), 36 + 0.75, 1.5);
        EXPECT_NEAR(boxes[QStringLiteral("Rightmost")].right(), 36 + 719 * 0.75, 1.5);
        EXPECT_NEAR(boxes[QStringLiteral("Lowest")].left(), 36 + 300 * 0.75, 1.5);
        EXPECT_NEAR(boxes[QStringLiteral("Lowest")].top(), 36 + 900 * 0.75, 1.5);
        EXPECT_NEAR(boxes[QStringLiteral("Lowest")].height(), 13 * 0.75, 2) << "10 point text";
    }
}

TEST(ReportLayout, AHeaderThatFillsThePageIsRefused) {
    TvdrReport report;
    report.SetPageHeader(QStringLiteral("PageHeader"), 960);
    report.AddDetail(QStringLiteral("Detail"), 20);
    EXPECT_THROW(TvdrReportLayout{report}, EvdrError);
}
