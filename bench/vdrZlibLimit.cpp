#include "vdrZlibLimit.h"

#include <zlib.h>

QByteArray ZlibCompress(const QByteArray &data) {
    uLongf size = compressBound(uLong(data.size()));
    QByteArray out(qsizetype(size), Qt::Uninitialized);
    compress2(reinterpret_cast<Bytef *>(out.data()), &size, reinterpret_cast<const Bytef *>(data.constData()),
              uLong(data.size()), Z_DEFAULT_COMPRESSION);
    out.truncate(qsizetype(size));
    return out;
}
