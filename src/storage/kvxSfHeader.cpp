#include "kvxSfHeader.h"

#include "kvxSfFile.h"

#include <QtEndian>

void TkvxSfHeader::ReadFrom(TkvxSfFile &file) {
    const QByteArray bytes = file.ReadAt(0, Size);
    TocSize = qFromLittleEndian<qint32>(bytes.constData());
}

QByteArray TkvxSfHeader::Encode() const {
    char bytes[Size];
    qToLittleEndian<qint32>(TocSize, bytes);
    return QByteArray(bytes, Size);
}

void TkvxSfHeader::WriteTo(TkvxSfFile &file) const {
    file.WriteAt(0, Encode());
}
