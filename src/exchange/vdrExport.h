#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QIODevice;

// A car whose stored picture does not decode, so the export left it out.
struct TvdrSkippedPicture {
    qint32 CarNbr = 0;
    QString Car;    // the car's description
    QString Reason; // the decoder's message, naming the picture file
};

// An export of the whole database into a folder: the table files of the
// derived class, then every car's picture beside them. Reads the tables as
// they are in memory and saves nothing.
//
// The folder and its missing parents are created owner-only, and each file
// is streamed into a new file beside its name and renamed over it
// (TvdrPrivateFile): owner-only, never through a link planted at its name,
// and an old file of that name stays whole when writing fails.
class TvdrExport {
public:
    explicit TvdrExport(const QString &folder) : m_folder(folder) {}
    virtual ~TvdrExport() = default;
    TvdrExport(const TvdrExport &) = delete;
    TvdrExport &operator=(const TvdrExport &) = delete;

    QString Folder() const { return m_folder; }
    virtual void Execute() = 0;

    // For each car with a picture extension, in table order, the file
    // "CarPic%9.9d.<ext>": a bmp picture decoded and written as a Windows
    // bitmap, a jpg picture's header checked and its bytes written unchanged,
    // an empty stream as an empty file; other extensions get no file. A
    // picture that does not decode is left out and listed in
    // SkippedPictures(); the other pictures are written all the same.
    void ExportPictures();

    // The pictures the last ExportPictures() left out, in table order.
    const QList<TvdrSkippedPicture> &SkippedPictures() const { return m_skipped; }
    // One sentence per left-out picture, naming the car and the reason.
    QStringList SkippedPictureLines() const;

protected:
    // Folder + a separator when it lacks one + `name`.
    QString FilePath(const QString &name) const;
    // Creates or replaces the file with what `write` streams into it, under
    // the file's name (and the folder when it is missing); raises with the
    // file's name and the system's reason.
    static void WriteSafely(const QString &fileName,
                            const std::function<void(QIODevice &device, const QString &name)> &write);

private:
    QString m_folder;
    QList<TvdrSkippedPicture> m_skipped;
};
