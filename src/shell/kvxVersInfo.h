#pragma once

#include <QDateTime>
#include <QString>

// The version information of a file: product name, copyright and a four-part
// file version ("major.minor.release.build"), with the file's date and size.
// Program files here carry no version block, so the program's own strings
// are the ones fixed at build time; any other existing file has none.
//
// One per process: reach it through VersInfo().
class TkvxVersInfo {
public:
    TkvxVersInfo();

    // Describes `name` from now on. Raises "File %s not found or not
    // accessible" when the file cannot be found and "File %s has no version
    // information" when it is not the program (%s: the name without folder).
    void SetFileName(const QString &name);
    QString FileName() const { return m_fileName; }

    // "ProductName", "LegalCopyright", "FileVersion"; empty for other names.
    // Raises "No file specified" before SetFileName.
    QString StringValue(const QString &name) const;

    // "yyyy-MMM-dd hh:mm:ss"; "DATE UNKNOWN" when the file was not found.
    QString FileDateText() const;
    // Bytes with thousands separators; "0" when the file was not found.
    QString FileSizeText() const;

    // The full name of `name` in one of the folders of PATH; empty.
    static QString FindOnPath(const QString &name);

    // The running program's file.
    static QString ProgramFile();

private:
    QString m_fileName;
    bool m_hasBlock = false;
    bool m_found = false;
    QDateTime m_fileDate;
    qint64 m_fileSize = 0;
};

TkvxVersInfo &VersInfo();
