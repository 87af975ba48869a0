#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

// JPEG pictures through libjpeg. Both raise EvdrError with libjpeg's own
// message, prefixed by `name`, when the bytes are not a JPEG picture.

void CheckJpegHeader(const QByteArray &bytes, const QString &name);
// The whole picture as 24-bit RGB (grey and CMYK pictures converted).
QImage DecodeJpeg(const QByteArray &bytes, const QString &name);
