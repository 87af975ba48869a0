#include "vdrReportTestSupport.h"

#include "vdrCars.h"
#include "vdrDateTime.h"
#include "vdrReportPdf.h"

TvdrReportTest::TvdrReportTest() {
    vdrDateTime::SetClock([] { return QDateTime(QDate(2024, 3, 1), QTime(10, 30)); });
}

TvdrReportTest::~TvdrReportTest() {
    vdrDateTime::SetClock(nullptr);
}

QString TvdrReportTest::Pdf(TvdrReport &report, const QString &name) {
    const QString fileName = m_db.File(name);
    WriteReportPdf(report, fileName);
    return fileName;
}

qint32 TvdrReportTest::AddCar(qint32 year, const QString &make, const QString &model) {
    TvdrCarRec rec;
    rec.CarNbr = Cars().NewCar();
    rec.Year = year;
    rec.SetMake(make);
    rec.SetModel(model);
    Cars().StoreCarRec(rec);
    Cars().Save();
    return rec.CarNbr;
}

std::vector<TvdrPlacedItem> ItemsOf(const TvdrReportLayout &layout, const QString &control, int page) {
    std::vector<TvdrPlacedItem> items;
    for (const TvdrReportPage &p : layout.Pages())
        if (page == 0 || p.Number == page)
            for (const TvdrPlacedBand &band : p.Bands)
                for (const TvdrPlacedItem &item : band.Items)
                    if (item.Control == control)
                        items.push_back(item);
    return items;
}

QStringList TextsOf(const TvdrReportLayout &layout, const QString &control, int page) {
    QStringList texts;
    for (const TvdrPlacedItem &item : ItemsOf(layout, control, page))
        texts.append(item.Text);
    return texts;
}

std::vector<TvdrPlacedBand> BandsOf(const TvdrReportLayout &layout, const QString &band) {
    std::vector<TvdrPlacedBand> bands;
    for (const TvdrReportPage &p : layout.Pages())
        for (const TvdrPlacedBand &b : p.Bands)
            if (b.Name == band)
                bands.push_back(b);
    return bands;
}

testing::AssertionResult InOrder(const QStringList &lines, const QStringList &expected) {
    const QString text = lines.join(QLatin1Char('\n'));
    qsizetype from = 0;
    for (const QString &part : expected) {
        const qsizetype at = text.indexOf(part, from);
        if (at < 0)
            return testing::AssertionFailure()
                   << "\"" << part.toStdString() << "\" missing or out of order in:\n"
                   << text.toStdString();
        from = at + part.size();
    }
    return testing::AssertionSuccess();
}
