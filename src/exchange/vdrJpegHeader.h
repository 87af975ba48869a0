#pragma once

#include <QByteArray>
#include <QString>

// Reads the JPEG header of `bytes` with libjpeg; raises with libjpeg's
// message, prefixed by `name`, when it cannot be read.
void CheckJpegHeader(const QByteArray &bytes, const QString &name);
