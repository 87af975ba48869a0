#include "qrPicture.h"

#include "kvxLang.h"
#include "vdrCars.h"
#include "vdrPicture.h"
#include "vdrPictureImage.h"
#include "vdrReportImage.h"
#include "vdrReportLabel.h"
#include "vdrReportShape.h"

TfrmQrPicture::TfrmQrPicture(qint32 carNbr, TkvxStreamFile *database)
    : TvdrReport(QPageLayout::Landscape),
      Header(*this, SetPageHeader(QStringLiteral("PageHeader"), 42), QStringLiteral("ReportNamePicture"), 20),
      qrsTop(PageHeader()->Add<TvdrReportShape>(QStringLiteral("qrsTop"), 0, 37, 0, 5)),
      qrlVehicle(
          AddDetail(QStringLiteral("Detail"), 108).Add<TvdrReportLabel>(QStringLiteral("qrlVehicle"), 0, 9)),
      qriCar(Details().back()->Add<TvdrReportImage>(QStringLiteral("qriCar"), 0, 35, 0, 108 - 35)),
      m_carNbr(carNbr), m_database(database) {
    Title = Lang().GetText(QStringLiteral("ReportNamePicture")) + QStringLiteral(" - ") +
            Cars().CarDescription(carNbr);
    Details().back()->BeforePrint = [this](const TvdrBandPrint &print) {
        if (print.Item != 0)
            return false;
        FillPicture();
        return true;
    };
}

void TfrmQrPicture::BeforeGenerate() {
    qrsTop.Width = PageWidth();
    Details().back()->ItemCount = 1;
}

void TfrmQrPicture::FillPicture() {
    qrlVehicle.Caption = Cars().CarDescription(m_carNbr);
    TvdrPicture picture(m_carNbr);
    picture.SetStreamFile(m_database);
    picture.Load();
    qriCar.Picture = DecodeCarPicture(picture.data(), Cars().PictureExtension(m_carNbr));
}

std::unique_ptr<TfrmQrPicture> CreatePictureReport(qint32 carNbr, TkvxStreamFile *database) {
    return std::make_unique<TfrmQrPicture>(carNbr, database);
}
