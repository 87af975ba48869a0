#include "vdrPictureImage.h"

#include "vdrError.h"
#include "vdrJpeg.h"

#include <QBuffer>
#include <QImageReader>

namespace {

bool Is(const QString &extension, const char *name) {
    return extension.compare(QLatin1String(name), Qt::CaseInsensitive) == 0;
}

} // namespace

bool IsShownPictureExtension(const QString &extension) {
    return Is(extension, "bmp") || Is(extension, "jpg");
}

QImage DecodeCarPicture(const QByteArray &bytes, const QString &extension, const QString &picture) {
    const QString name = picture.isEmpty() ? QStringLiteral("The car's picture") : picture;
    if (Is(extension, "jpg"))
        return DecodeJpeg(bytes, name);
    if (!Is(extension, "bmp"))
        return QImage();
    QBuffer source;
    source.setData(bytes);
    source.open(QIODevice::ReadOnly);
    QImageReader reader(&source, "BMP");
    reader.setDecideFormatFromContent(false);
    QImage image = reader.read();
    if (image.isNull())
        throw EvdrError(QStringLiteral("%1 is not a valid bitmap: %2").arg(name, reader.errorString()));
    return image;
}
