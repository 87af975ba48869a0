#pragma once

#include "vdrQrPageHeader.h"
#include "vdrReport.h"
#include "vdrReportMetrics.h"

#include <memory>

class TvdrReportLabel;
class TvdrReportMemo;
class TvdrReportShape;

// One car: its description, then the names of the user-defined fields in
// display order with the car's value beside each, the values in a column
// that starts three blanks after the longest name.
class TfrmQrCar : public TvdrReport {
public:
    explicit TfrmQrCar(qint32 carNbr);

    void BeforeGenerate() override;

    TvdrQrPageHeader Header;
    TvdrReportShape &qrsTop;
    TvdrReportLabel &qrlVehicle;
    TvdrReportMemo &qrmUdfField;
    TvdrReportMemo &qrmUdfValue;

private:
    void FillFields();

    qint32 m_carNbr;
    TvdrReportMetrics m_metrics;
};

std::unique_ptr<TfrmQrCar> CreateCarReport(qint32 carNbr);
