#pragma once

#include "vdrQrPageHeader.h"
#include "vdrReport.h"

#include <memory>
#include <vector>

class TvdrMaintFilter;
class TvdrMaintSortedList;
class TvdrReportLabel;
class TvdrReportMemo;
class TvdrReportShape;

// One car's maintenance history as the maintenance view shows it: the
// events of the view's sorted list that its filter accepts, in the list's
// order, each with its date, mileage, cost, repairs and note, then the total
// cost of those events.
class TfrmQrMaint : public TvdrReport {
public:
    // The list and the filter are the view's, borrowed: both must outlive the
    // report. `repairsDirection` 1 lists each event's repairs descending.
    // Raises EvdrError when the list holds another car's events.
    TfrmQrMaint(qint32 carNbr, TvdrMaintSortedList &sortedList, quint8 repairsDirection,
                const TvdrMaintFilter &filter);

    void BeforeGenerate() override;
    // The total of the events printed by the last layout.
    double TotalCost() const { return m_total; }

    TvdrQrPageHeader Header;
    TvdrReportLabel &qrlVehicle;
    TvdrReportShape &qrsTop;
    TvdrReportShape &qrsDetail;
    TvdrReportLabel &qrlDate;
    TvdrReportLabel &qrlMileage;
    TvdrReportLabel &qrlCost;
    TvdrReportMemo &qrmRepairs;
    TvdrReportShape &qrsTotalTop;
    TvdrReportLabel &qrlTotalCostLabel;
    TvdrReportLabel &qrlTotalCost;
    TvdrReportShape &qrsTotalBottom;

private:
    bool DetailBeforePrint(int item);

    qint32 m_carNbr;
    TvdrMaintSortedList &m_sortedList;
    quint8 m_repairsDirection;
    const TvdrMaintFilter &m_filter;
    std::vector<int> m_items; // indexes into the sorted list
    double m_total = 0;
};

std::unique_ptr<TfrmQrMaint> CreateMaintReport(qint32 carNbr, TvdrMaintSortedList &sortedList,
                                               quint8 repairsDirection, const TvdrMaintFilter &filter);
