#pragma once

#include <QByteArray>
#include <QString>

class QFile;

// The files a user names for the program to read: import files and
// pictures. Only regular files are opened: a pipe would block the program
// and a device such as /dev/zero never ends. Each raises EvdrError with a
// sentence naming the file: "does not exist", "is a folder, not a file",
// "is not a regular file ...", or the system's reason.
namespace vdrRegularFile {

// Opens `fileName` read-only into `file` (which must be closed).
void Open(QFile &file, const QString &fileName);

// The whole file. A file larger than `maxBytes` is refused before it is
// read, with `what` (for example "a picture") naming what it was to be.
QByteArray ReadAll(const QString &fileName, qint64 maxBytes, const QString &what);

} // namespace vdrRegularFile
