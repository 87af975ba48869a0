#include "vdrQrPageHeader.h"

#include "kvxLang.h"
#include "vdrDateTime.h"
#include "vdrFormatSettings.h"
#include "vdrReport.h"
#include "vdrReportLabel.h"

namespace {

bool Landscape(const TvdrReport &report) {
    return report.Orientation() == QPageLayout::Landscape;
}

TvdrReportLabel &Centred(TvdrReportBand &band, const TvdrReport &report, const QString &name, double top) {
    TvdrReportLabel &label = band.Add<TvdrReportLabel>(name, Landscape(report) ? 287 : 144, top, 385,
                                                       TvdrReportLabel::TAlign::Centre);
    label.Bold = true;
    return label;
}

} // namespace

TvdrQrPageHeader::TvdrQrPageHeader(const TvdrReport &report, TvdrReportBand &band, const QString &nameKey,
                                   double nameTop)
    : qrlRptDate(band.Add<TvdrReportLabel>(QStringLiteral("qrlRptDate"), 0, 1)),
      qrlPageNbr(band.Add<TvdrReportLabel>(QStringLiteral("qrlPageNbr"), Landscape(report) ? 864 : 624, 1, 95,
                                           TvdrReportLabel::TAlign::Right)),
      qrlTitle(Centred(band, report, QStringLiteral("qrlTitle"), 1)),
      qrlRptName(Centred(band, report, QStringLiteral("qrlRptName"), nameTop)) {
    qrlTitle.Caption = Lang().GetText(QStringLiteral("ReportTitle"));
    qrlRptName.Caption = Lang().GetText(nameKey);
    band.BeforePrint = [this](const TvdrBandPrint &print) {
        Fill(print.PageNumber);
        return true;
    };
}

void TvdrQrPageHeader::Fill(int pageNumber) {
    const QString today = TvdrFormatSettings::Current().ShortDate(vdrDateTime::Now().date());
    qrlRptDate.Caption = Lang().FormatText(QStringLiteral("ReportDate"), {today});
    qrlPageNbr.Caption = Lang().FormatText(QStringLiteral("ReportPage"), {pageNumber});
}
