#include "qrRepair.h"

#include "kvxLang.h"
#include "vdrRepairs.h"
#include "vdrReportLabel.h"
#include "vdrReportShape.h"

TfrmQrRepair::TfrmQrRepair()
    : Header(*this, SetPageHeader(QStringLiteral("PageHeader"), 40), QStringLiteral("ReportNameRepair"), 21),
      qrsTop(SetPageHeaderChild(QStringLiteral("ColumnHeader"), 27)
                 .Add<TvdrReportShape>(QStringLiteral("qrsTop"), 0, 0, 0, 5)),
      qrlDescriptionColumnHeading(
          PageHeaderChild()->Add<TvdrReportLabel>(QStringLiteral("qrlDescriptionColumnHeading"), 0, 6)),
      qrsBottom(PageHeaderChild()->Add<TvdrReportShape>(QStringLiteral("qrsBottom"), 0, 22, 0, 5)),
      qrlDescription(AddDetail(QStringLiteral("Detail"), 20)
                         .Add<TvdrReportLabel>(QStringLiteral("qrlDescription"), 0, 2)) {
    Title = Lang().GetText(QStringLiteral("ReportNameRepair"));
    qrlDescriptionColumnHeading.Bold = true;
    qrlDescriptionColumnHeading.Caption = Lang().GetText(QStringLiteral("ReportRepairDescriptions"));
    Details().back()->BeforePrint = [this](const TvdrBandPrint &print) {
        if (print.Item < 0 || print.Item >= Repairs().OrderCount())
            return false;
        qrlDescription.Caption = Repairs().Description(Repairs().RepairNbrAt(print.Item));
        return true;
    };
}

void TfrmQrRepair::BeforeGenerate() {
    qrsTop.Width = PageWidth();
    qrsBottom.Width = PageWidth();
    qrsBottom.Top = PageHeaderChild()->Height - qrsBottom.Height;
    Repairs().BuildOrder(Repairs().Descending());
    Details().back()->ItemCount = Repairs().OrderCount();
}

std::unique_ptr<TfrmQrRepair> CreateRepairReport() {
    return std::make_unique<TfrmQrRepair>();
}
