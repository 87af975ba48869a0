#include "qrCar.h"

#include "kvxLang.h"
#include "vdrCars.h"
#include "vdrCarsUDF.h"
#include "vdrReportLabel.h"
#include "vdrReportMemo.h"
#include "vdrReportShape.h"
#include "vdrUDF.h"

#include <algorithm>

TfrmQrCar::TfrmQrCar(qint32 carNbr)
    : Header(*this, SetPageHeader(QStringLiteral("PageHeader"), 42), QStringLiteral("ReportNameCar"), 20),
      qrsTop(PageHeader()->Add<TvdrReportShape>(QStringLiteral("qrsTop"), 0, 37, 0, 5)),
      qrlVehicle(
          AddDetail(QStringLiteral("Detail"), 55).Add<TvdrReportLabel>(QStringLiteral("qrlVehicle"), 0, 9)),
      qrmUdfField(Details().back()->Add<TvdrReportMemo>(QStringLiteral("qrmUdfField"), 48, 35, 0, 17)),
      qrmUdfValue(Details().back()->Add<TvdrReportMemo>(QStringLiteral("qrmUdfValue"), 48, 35, 0, 17)),
      m_carNbr(carNbr) {
    // FillFields wraps both, keeping each value level with its name.
    qrmUdfField.WordWrap = false;
    qrmUdfValue.WordWrap = false;
    Title = Lang().GetText(QStringLiteral("ReportNameCar")) + QStringLiteral(" - ") +
            Cars().CarDescription(carNbr);
    Details().back()->BeforePrint = [this](const TvdrBandPrint &print) {
        if (print.Item != 0)
            return false;
        FillFields();
        return true;
    };
}

void TfrmQrCar::BeforeGenerate() {
    qrsTop.Width = PageWidth();
    Details().back()->ItemCount = 1;
}

void TfrmQrCar::FillFields() {
    qrlVehicle.Caption = Cars().CarDescription(m_carNbr);
    qrmUdfField.Lines.clear();
    qrmUdfValue.Lines.clear();
    const QString gap = QStringLiteral("   ");
    const double gapWidth = m_metrics.Width(Font, gap);
    // A name or value too long for the paper wraps instead of running off
    // it; the shorter side of each field gets blank lines, so that every
    // value stays level with its name.
    const double widest = (PageWidth() - qrmUdfField.Left) / 2;
    UDF().SortBySortOrder();
    QStringList names;
    QStringList values;
    double column = 0;
    for (int i = 0; i < UDF().Count(); ++i) {
        names.append(UDF().NameAt(i));
        values.append(CarsUDF().CarValue(m_carNbr, UDF().UdfNbrAt(i)));
        column = std::max(column, m_metrics.Width(Font, names.back() + gap));
    }
    column = std::min(column, widest);
    qrmUdfField.Width = column;
    qrmUdfValue.Left = qrmUdfField.Left + column;
    qrmUdfValue.Width = PageWidth() - qrmUdfValue.Left;
    for (int i = 0; i < names.size(); ++i) {
        QStringList name = m_metrics.Wrap(Font, names[i], column - gapWidth);
        QStringList value = m_metrics.Wrap(Font, values[i], qrmUdfValue.Width);
        while (name.size() < value.size())
            name.append(QString());
        while (value.size() < name.size())
            value.append(QString());
        qrmUdfField.Lines.append(name);
        qrmUdfValue.Lines.append(value);
    }
}

std::unique_ptr<TfrmQrCar> CreateCarReport(qint32 carNbr) {
    return std::make_unique<TfrmQrCar>(carNbr);
}
