#pragma once

#include <QString>

// Files and folders the program writes for the user beside the database
// (exports): owner-only like the database, or stricter where the umask is.
// The files themselves are written through TvdrPrivateFile. Each raises EvdrError naming the file and giving
// the system's reason (a full disk says so).
namespace vdrPrivateFiles {

// Creates `folder` and its missing parents; an existing folder is left as
// it is.
void MakeFolder(const QString &folder);

} // namespace vdrPrivateFiles
