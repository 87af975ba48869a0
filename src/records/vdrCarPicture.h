#pragma once

#include <QString>

// A car's picture: the stream holds the chosen file's bytes unchanged, the
// car's row its normalised extension.

// Reads the whole file first and checks that it decodes as its extension
// says (bmp, jpg; other extensions are kept undecoded): a file that cannot be
// read, is no regular file, is larger than a stream may hold or does not
// decode changes nothing. Then saves it as the car's picture stream, sets
// the car's picture extension from the file name and saves the cars table,
// both as one change of the database.
void InsertCarPicture(qint32 carNbr, const QString &fileName);
// Deletes the car's picture stream, empties its extension and saves the
// cars table, as one change of the database.
void ClearCarPicture(qint32 carNbr);
