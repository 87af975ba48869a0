#pragma once

#include <QtGlobal>

class TkvxSfFile;

// The 4 bytes at offset 0 of a container: the size of the TOC block at the
// end of the file, 0 when there is none. Little-endian.
class TkvxSfHeader {
public:
    qint32 TocSize = 0;

    void ReadFrom(TkvxSfFile &file);
    void WriteTo(TkvxSfFile &file) const;
};
