#include "vdrExport.h"

#include "vdrCars.h"
#include "vdrError.h"
#include "vdrJpeg.h"
#include "vdrPicture.h"

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QImageReader>

namespace {

QByteArray BitmapFile(const QByteArray &stored, const QString &name) {
    if (!stored.startsWith("BM"))
        throw EvdrError(QStringLiteral("%1 is not a Windows bitmap").arg(name));
    QBuffer source;
    source.setData(stored);
    QImageReader reader(&source, "BMP");
    const QImage image = reader.read();
    if (image.isNull())
        throw EvdrError(
            QStringLiteral("%1 is not a valid Windows bitmap: %2").arg(name, reader.errorString()));
    QByteArray bytes;
    QBuffer target(&bytes);
    target.open(QIODevice::WriteOnly);
    if (!image.save(&target, "BMP"))
        throw EvdrError(QStringLiteral("%1 cannot be written as a Windows bitmap").arg(name));
    return bytes;
}

} // namespace

QString TvdrExport::FilePath(const QString &name) const {
    if (m_folder.endsWith(QLatin1Char('/')))
        return m_folder + name;
    return m_folder + QLatin1Char('/') + name;
}

void TvdrExport::WriteFile(const QString &fileName, const QByteArray &bytes) {
    QFile file(fileName);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
        throw EvdrError(QStringLiteral("cannot create %1: %2").arg(fileName, file.errorString()));
    if (file.write(bytes) != bytes.size() || !file.flush())
        throw EvdrError(QStringLiteral("cannot write %1: %2").arg(fileName, file.errorString()));
}

void TvdrExport::ExportPictures() {
    for (int i = 0; i < Cars().Count(); ++i) {
        const qint32 carNbr = Cars().CarNbrAt(i);
        const QString extension = Cars().PictureExtension(carNbr);
        const bool bitmap = extension.compare(QLatin1String("bmp"), Qt::CaseInsensitive) == 0;
        const bool jpeg = extension.compare(QLatin1String("jpg"), Qt::CaseInsensitive) == 0;
        if (!bitmap && !jpeg)
            continue;
        TvdrPicture picture(carNbr);
        picture.SetStreamFile(Cars().StreamFile());
        picture.Load();
        const QByteArray stored = picture.data();
        const QString name = picture.StreamId() + QLatin1Char('.') + extension;
        QByteArray bytes;
        if (!stored.isEmpty()) {
            if (bitmap) {
                bytes = BitmapFile(stored, name);
            } else {
                CheckJpegHeader(stored, name);
                bytes = stored;
            }
        }
        WriteFile(FilePath(name), bytes);
    }
}
