#pragma once

#include "vdrQrPageHeader.h"
#include "vdrReport.h"

#include <memory>

class TkvxStreamFile;
class TvdrReportImage;
class TvdrReportLabel;
class TvdrReportShape;

// One car's description and its picture, landscape. Pictures stored as
// "bmp" or "jpg" print; with any other extension, or none, only the
// description does.
class TfrmQrPicture : public TvdrReport {
public:
    // The picture is read from `database`, which must outlive the report.
    TfrmQrPicture(qint32 carNbr, TkvxStreamFile *database);

    void BeforeGenerate() override;

    TvdrQrPageHeader Header;
    TvdrReportShape &qrsTop;
    TvdrReportLabel &qrlVehicle;
    TvdrReportImage &qriCar;

private:
    // Raises EvdrError when the picture does not decode as its extension says.
    void FillPicture();

    qint32 m_carNbr;
    TkvxStreamFile *m_database;
};

std::unique_ptr<TfrmQrPicture> CreatePictureReport(qint32 carNbr, TkvxStreamFile *database);
