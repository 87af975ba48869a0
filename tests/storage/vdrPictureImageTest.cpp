#include "vdrPictureImage.h"
#include "vdrError.h"
#include "vdrJpeg.h"
#include "vdrTestPictures.h"
#include "vdrTestSupport.h"

#include <gtest/gtest.h>

TEST(PictureImage, DecodesBitmapsAndJpegsByTheExtensionInAnyCase) {
    const QImage bitmap = DecodeCarPicture(MakeBitmap(30, 20), QStringLiteral("BMP"));
    EXPECT_EQ(bitmap.size(), QSize(30, 20));
    const QImage jpeg = DecodeCarPicture(MakeJpeg(64, 48), QStringLiteral("jpg"));
    EXPECT_EQ(jpeg.size(), QSize(64, 48));
    EXPECT_FALSE(jpeg.pixelColor(0, 0) == jpeg.pixelColor(63, 47)) << "the gradient survives decoding";
}

TEST(PictureImage, OtherExtensionsAreKeptButNotShown) {
    for (const char *extension : {"", "png", "jpeg", "gif"}) {
        EXPECT_TRUE(DecodeCarPicture(MakeJpeg(8, 8), QString::fromLatin1(extension)).isNull()) << extension;
        EXPECT_FALSE(IsShownPictureExtension(QString::fromLatin1(extension))) << extension;
    }
}

TEST(PictureImage, BytesThatAreNotTheirKindRaiseAClearError) {
    EXPECT_EQ(ErrorMessageOf([] {
                  DecodeCarPicture(QByteArray("not a bitmap"), QStringLiteral("bmp"));
              }).rfind("The car's picture is not a valid bitmap", 0),
              0u);
    EXPECT_EQ(ErrorMessageOf([] {
                  DecodeCarPicture(MakeBitmap(4, 4), QStringLiteral("jpg"));
              }).rfind("The car's picture is not a valid JPEG picture: ", 0),
              0u);
    EXPECT_THROW(DecodeJpeg(QByteArray(), QStringLiteral("empty")), EvdrError);
}

TEST(PictureImage, AForgedHugeJpegHeaderIsRefusedBeforeAnyAllocation) {
    QByteArray jpeg = MakeJpeg(16, 16);
    // The SOF0 segment holds the height and width as big-endian 16-bit words.
    const qsizetype sof = jpeg.indexOf(QByteArray("\xFF\xC0", 2));
    ASSERT_GT(sof, 0);
    // 30000 x 30000: within libjpeg's own limit, far past a picture's.
    jpeg[sof + 5] = char(0x75);
    jpeg[sof + 6] = char(0x30);
    jpeg[sof + 7] = char(0x75);
    jpeg[sof + 8] = char(0x30);
    EXPECT_EQ(ErrorMessageOf([&] { DecodeJpeg(jpeg, QStringLiteral("forged")); }),
              "forged is not a valid JPEG picture: the picture is too large to show");
}
