// Arbitrary bytes as a car's picture, read as the picture view, the reports
// and the exports read one: its JPEG header checked, then decoded as a JPEG
// picture and as a Windows bitmap. A picture that does not decode is an
// answer; a crash or a sanitizer report is a finding.

#include "vdrFuzzSupport.h"

#include "vdrJpeg.h"
#include "vdrPictureImage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size) {
    const QByteArray bytes = FuzzBytes(data, size);
    const QString name = QStringLiteral("the picture");
    Try([&] { CheckJpegHeader(bytes, name); });
    Try([&] { DecodeCarPicture(bytes, QStringLiteral("jpg"), name); });
    Try([&] { DecodeCarPicture(bytes, QStringLiteral("bmp"), name); });
    return 0;
}
