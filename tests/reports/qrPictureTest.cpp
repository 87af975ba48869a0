#include "qrPicture.h"
#include "vdrCarPicture.h"
#include "vdrCars.h"
#include "vdrError.h"
#include "vdrPicture.h"
#include "vdrReportTestSupport.h"
#include "vdrTestPdf.h"
#include "vdrTestPictures.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <gtest/gtest.h>

namespace {

class PictureReport : public TvdrReportTest {
protected:
    // Stores `bytes` as the car's picture with that extension, as inserting
    // a picture does, without its checks.
    void SetPicture(const QByteArray &bytes, const QString &extension) {
        TvdrPicture picture(m_car);
        picture.SetStreamFile(&m_db.Db());
        picture.write(bytes);
        picture.Save();
        TvdrCarRec rec = Cars().CarRec(m_car);
        rec.SetPictureExtension(extension);
        Cars().StoreCarRec(rec);
        Cars().Save();
    }

    qint32 m_car = AddCar(2004, QStringLiteral("Ford"), QStringLiteral("Taurus"));
};

QByteArray MakePng(int width, int height) {
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::red);
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    return buffer.data();
}

} // namespace

TEST_F(PictureReport, BitmapsAndJpegPicturesPrintOthersDoNot) {
    const QString front = m_db.File(QStringLiteral("front.JPEG"));
    WriteWholeFile(front, MakeJpeg(320, 200));
    InsertCarPicture(m_car, front);
    const auto report = CreatePictureReport(m_car, &m_db.Db());
    QString pdf = Pdf(*report, QStringLiteral("jpeg.pdf"));
    EXPECT_EQ(PdfInfo(pdf, QStringLiteral("Page size")), QStringLiteral("792 x 612 pts (letter)"));
    EXPECT_EQ(PdfPageCount(pdf), 1);
    EXPECT_EQ(PdfImageCount(pdf), 1);
    EXPECT_TRUE(
        InOrder(PdfLines(pdf), {"Date: 3/1/2024", "Vandor", "Page 1", "Car picture", "2004 Ford Taurus"}));
    const TvdrReportLayout layout(*report);
    const std::vector<TvdrPlacedItem> image = ItemsOf(layout, QStringLiteral("qriCar"));
    ASSERT_EQ(image.size(), 1u);
    EXPECT_EQ(image[0].Rect, QRectF(0, 42 + 35, 320, 200));
    EXPECT_EQ(ItemsOf(layout, QStringLiteral("qrlPageNbr"))[0].Rect.left(), 864);
    EXPECT_EQ(ItemsOf(layout, QStringLiteral("qrlTitle"))[0].Rect.left(), 287);
    EXPECT_EQ(ItemsOf(layout, QStringLiteral("qrsTop"))[0].Rect.width(), 960);

    SetPicture(MakeBitmap(2000, 1000), QStringLiteral("bmp"));
    pdf = Pdf(*report, QStringLiteral("bmp.pdf"));
    EXPECT_EQ(PdfImageCount(pdf), 1);
    EXPECT_EQ(ItemsOf(TvdrReportLayout(*report), QStringLiteral("qriCar")).at(0).Rect,
              QRectF(0, 77, 960, 480))
        << "shrunk to the page, proportions kept";

    SetPicture(MakePng(100, 100), QStringLiteral("png"));
    pdf = Pdf(*report, QStringLiteral("png.pdf"));
    EXPECT_EQ(PdfImageCount(pdf), 0);
    EXPECT_TRUE(InOrder(PdfLines(pdf), {"Car picture", "2004 Ford Taurus"}));

    ClearCarPicture(m_car);
    pdf = Pdf(*report, QStringLiteral("none.pdf"));
    EXPECT_EQ(PdfImageCount(pdf), 0);
    EXPECT_TRUE(InOrder(PdfLines(pdf), {"Car picture", "2004 Ford Taurus"}));
}

TEST_F(PictureReport, APictureThatDoesNotDecodeFailsWithoutWritingAFile) {
    SetPicture(QByteArray("not a picture"), QStringLiteral("jpg"));
    const auto report = CreatePictureReport(m_car, &m_db.Db());
    const QString pdf = m_db.File(QStringLiteral("broken.pdf"));
    EXPECT_EQ(ErrorMessageOf([&] { Pdf(*report, QStringLiteral("broken.pdf")); }),
              "The car's picture is not a valid JPEG picture: Not a JPEG file: starts with 0x6e 0x6f");
    EXPECT_FALSE(QFile::exists(pdf));
}
