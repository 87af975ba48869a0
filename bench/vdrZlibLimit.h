#pragma once

#include <QByteArray>

// zlib's compress2 at the level every block of the container is written
// with: the limit saves are measured against.
QByteArray ZlibCompress(const QByteArray &data);
