#pragma once

#include <QByteArray>
#include <QString>

// Files and folders the program writes for the user beside the database
// (exports): owner-only like the database, or stricter where the umask is.
// Each raises EvdrError naming the file and giving the system's reason (a
// full disk says so).
namespace vdrPrivateFiles {

// Writes `bytes` to a new file beside `fileName` and renames it over
// `fileName`: a link planted at that name is replaced, never written
// through, and a write that fails leaves the old file as it was.
void ReplaceFile(const QString &fileName, const QByteArray &bytes);

// Creates `folder` and its missing parents; an existing folder is left as
// it is.
void MakeFolder(const QString &folder);

} // namespace vdrPrivateFiles
