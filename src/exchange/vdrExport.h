#pragma once

#include <QString>

// An export of the whole database into a folder: the table files of the
// derived class, then every car's picture beside them. Reads the tables as
// they are in memory and saves nothing.
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
    // an empty stream as an empty file; other extensions get no file.
    // Raises for a picture that does not decode, naming it.
    void ExportPictures();

protected:
    // Folder + a separator when it lacks one + `name`.
    QString FilePath(const QString &name) const;
    // Creates or replaces the file with `bytes`; raises with the file's name
    // and the system's reason.
    static void WriteFile(const QString &fileName, const QByteArray &bytes);

private:
    QString m_folder;
};
