#include "kvxSfHeader.h"

#include "kvxSfFile.h"

#include <QtEndian>

void TkvxSfHeader::ReadFrom(TkvxSfFile &file) {
    const QByteArray bytes = file.ReadAt(0, 4);
    TocSize = qFromLittleEndian<qint32>(bytes.constData());
}

void TkvxSfHeader::WriteTo(TkvxSfFile &file) const {
    char bytes[4];
    qToLittleEndian<qint32>(TocSize, bytes);
    file.WriteAt(0, QByteArray(bytes, 4));
}
