#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// Decodes a car's picture stream by the car's picture extension: "bmp" as a
// Windows bitmap, "jpg" as a JPEG picture (compared ignoring letter case).
// Any other extension, the empty one included, gives a null image: the
// picture is kept but cannot be shown. Bytes that do not decode as the
// extension says raise EvdrError naming the picture: `name`, or "The car's
// picture" when it is empty.
QImage DecodeCarPicture(const QByteArray &bytes, const QString &extension, const QString &name = QString());

// Whether DecodeCarPicture knows the extension.
bool IsShownPictureExtension(const QString &extension);
