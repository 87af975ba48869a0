#include "vdrExport.h"

#include "vdrCars.h"
#include "vdrError.h"
#include "vdrJpeg.h"
#include "vdrPicture.h"
#include "vdrPrivateFile.h"
#include "vdrPrivateFiles.h"

#include <QBuffer>
#include <QFileInfo>
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

void TvdrExport::WriteSafely(const QString &fileName,
                             const std::function<void(QIODevice &device, const QString &name)> &write) {
    vdrPrivateFiles::MakeFolder(QFileInfo(fileName).absolutePath());
    TvdrPrivateFile file(fileName);
    file.Open();
    write(file, fileName);
    file.Commit();
}

QStringList TvdrExport::SkippedPictureLines() const {
    QStringList lines;
    for (const TvdrSkippedPicture &skipped : m_skipped)
        lines.append(QStringLiteral("the picture of car %1 (%2) was not exported: %3")
                         .arg(skipped.CarNbr)
                         .arg(skipped.Car, skipped.Reason));
    return lines;
}

void TvdrExport::ExportPictures() {
    m_skipped.clear();
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
        try {
            if (bitmap && !stored.isEmpty()) {
                bytes = BitmapFile(stored, name);
            } else if (!stored.isEmpty()) {
                CheckJpegHeader(stored, name);
                bytes = stored;
            }
        } catch (const EvdrError &e) {
            // One bad picture must not keep the others from their backup.
            m_skipped.append({carNbr, Cars().CarDescription(carNbr), e.Message()});
            continue;
        }
        WriteSafely(FilePath(name), [&bytes](QIODevice &device, const QString &) { device.write(bytes); });
    }
}
