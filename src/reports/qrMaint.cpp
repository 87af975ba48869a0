#include "qrMaint.h"

#include "kvxLang.h"
#include "vdrCars.h"
#include "vdrError.h"
#include "vdrFormatSettings.h"
#include "vdrMaintFilter.h"
#include "vdrMaintNotes.h"
#include "vdrMaintRepairs.h"
#include "vdrMaintSortedList.h"
#include "vdrReportLabel.h"
#include "vdrReportMemo.h"
#include "vdrReportShape.h"

namespace {

QString Text(const char *key) {
    return Lang().GetText(QLatin1String(key));
}

TvdrReportLabel &BoldLabel(TvdrReportBand &band, const char *name, double left, double top, const char *key) {
    TvdrReportLabel &label = band.Add<TvdrReportLabel>(QLatin1String(name), left, top);
    label.Bold = true;
    label.Caption = Text(key);
    return label;
}

TvdrReportLabel &RightEdged(TvdrReportBand &band, const char *name, double right, double top) {
    return band.Add(TvdrReportLabel::RightEdged(QLatin1String(name), right, top));
}

// Made as wide as the band before each layout.
TvdrReportShape &Line(TvdrReportBand &band, const char *name, double top) {
    return band.Add<TvdrReportShape>(QLatin1String(name), 0, top, 0, 5);
}

// A memo's lines from a text with CR LF breaks: a break at the very end
// starts no further line.
QStringList NoteLines(const QString &note) {
    if (note.isEmpty())
        return {};
    QStringList lines = note.split(QStringLiteral("\r\n"));
    if (note.endsWith(QStringLiteral("\r\n")))
        lines.removeLast();
    return lines;
}

} // namespace

TfrmQrMaint::TfrmQrMaint(qint32 carNbr, TvdrMaintSortedList &sortedList, quint8 repairsDirection,
                         const TvdrMaintFilter &filter)
    : Header(*this, SetPageHeader(QStringLiteral("PageHeader"), 40), QStringLiteral("ReportNameMaint"), 21),
      qrlVehicle(SetPageHeaderChild(QStringLiteral("ColumnHeader"), 48)
                     .Add<TvdrReportLabel>(QStringLiteral("qrlVehicle"), 0, 4)),
      qrsTop(Line(*PageHeaderChild(), "qrsTop", 25)),
      qrsDetail(Line(AddDetail(QStringLiteral("Detail"), 44), "qrsDetail", 0)),
      qrlDate(RightEdged(*Details().back(), "qrlDate", 93, 7)),
      qrlMileage(RightEdged(*Details().back(), "qrlMileage", 234, 7)),
      qrlCost(RightEdged(*Details().back(), "qrlCost", 393, 7)),
      qrmRepairs(Details().back()->Add<TvdrReportMemo>(QStringLiteral("qrmRepairs"), 48, 24, 609, 17)),
      qrsTotalTop(Line(SetSummary(QStringLiteral("Total"), 30), "qrsTotalTop", 0)),
      qrlTotalCostLabel(BoldLabel(*Summary(), "qrlTotalCostLabel", 208, 7, "ReportMaintTotalCost")),
      qrlTotalCost(RightEdged(*Summary(), "qrlTotalCost", 393, 7)),
      qrsTotalBottom(Line(*Summary(), "qrsTotalBottom", 24)), m_carNbr(carNbr), m_sortedList(sortedList),
      m_repairsDirection(repairsDirection), m_filter(filter) {
    if (sortedList.CarNbr() != carNbr)
        throw EvdrError(QStringLiteral("The maintenance report of car %1 was given the events of car %2")
                            .arg(carNbr)
                            .arg(sortedList.CarNbr()));
    const QString vehicle = Cars().CarDescription(carNbr);
    Title = Text("ReportNameMaint") + QStringLiteral(" - ") + vehicle;

    TvdrReportBand &columnHeader = *PageHeaderChild();
    BoldLabel(columnHeader, "qrlDateHeading", 64, 30, "ReportMaintDate");
    BoldLabel(columnHeader, "qrlMileageHeading", 181, 30, "ReportMaintMileage");
    BoldLabel(columnHeader, "qrlCostHeading", 365, 30, "ReportMaintCost");
    columnHeader.BeforePrint = [this](const TvdrBandPrint &) {
        qrlVehicle.Caption = Cars().CarDescription(m_carNbr);
        return true;
    };
    Details().back()->BeforePrint = [this](const TvdrBandPrint &print) {
        return DetailBeforePrint(print.Item);
    };
    Summary()->BeforePrint = [this](const TvdrBandPrint &) {
        qrlTotalCostLabel.Caption = Text("ReportMaintTotalCost");
        qrlTotalCost.Caption = TvdrFormatSettings::Current().Currency(m_total);
        return true;
    };
    qrlVehicle.Caption = vehicle;
}

void TfrmQrMaint::BeforeGenerate() {
    for (TvdrReportShape *line : {&qrsTop, &qrsDetail, &qrsTotalTop, &qrsTotalBottom})
        line->Width = PageWidth();
    m_items.clear();
    for (int i = 0; i < m_sortedList.Count(); ++i)
        if (m_filter.Matches(m_sortedList.Items(i)))
            m_items.push_back(i);
    Details().back()->ItemCount = int(m_items.size());
    m_total = 0;
    Summary()->ItemCount = 1;
}

bool TfrmQrMaint::DetailBeforePrint(int item) {
    if (item < 0 || item >= int(m_items.size()))
        return false;
    TvdrMaintRec &rec = m_sortedList.Items(m_items[size_t(item)]);
    const TvdrFormatSettings &formats = TvdrFormatSettings::Current();
    qrlDate.Caption = formats.ShortDate(rec.GetDate());
    qrlMileage.Caption = formats.Grouped(rec.Mileage);
    qrlCost.Caption = formats.Currency(rec.Cost);
    m_total += rec.Cost;

    TvdrListItems repairs;
    MaintRepairs().GetEventRepairs(m_carNbr, rec.MaintNbr, m_repairsDirection, repairs);
    qrmRepairs.Lines.clear();
    for (const TvdrListItem &repair : repairs)
        qrmRepairs.Lines.append(repair.Caption);
    qrmRepairs.Lines.append(NoteLines(MaintNotes().GetNote(m_carNbr, rec.MaintNbr)));
    return true;
}

std::unique_ptr<TfrmQrMaint> CreateMaintReport(qint32 carNbr, TvdrMaintSortedList &sortedList,
                                               quint8 repairsDirection, const TvdrMaintFilter &filter) {
    return std::make_unique<TfrmQrMaint>(carNbr, sortedList, repairsDirection, filter);
}
