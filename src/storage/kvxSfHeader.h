#pragma once

#include <QByteArray>
#include <QtGlobal>

#include <limits>

class TkvxSfFile;

// Blocks are addressed by 32-bit offsets and sizes: no container, and no
// state a journal puts one back to, is longer.
constexpr qint64 kKvxMaxFileSize = std::numeric_limits<qint32>::max();

// The 4 bytes at offset 0 of a container: the size of the TOC block at the
// end of the file, 0 when there is none. Little-endian.
class TkvxSfHeader {
public:
    static constexpr qint64 Size = 4;

    qint32 TocSize = 0;

    void ReadFrom(TkvxSfFile &file);
    QByteArray Encode() const;
    void WriteTo(TkvxSfFile &file) const;
};
