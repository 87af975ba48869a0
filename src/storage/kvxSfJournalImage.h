#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

class TkvxSfFile;

// The contents of a journal: how to put one change of a database back, and
// the exact file states the change passes through, so that a journal is
// never played into another file (a backup copied over the database, a file
// another writer's compaction put in its place).
//
// A region is a stretch of the database that was in use before the change
// and that the change writes over or cuts away: Old holds its bytes before,
// New its bytes after (shorter, or empty, where the file ends sooner
// afterwards). While the change is applied, and while it is put back, every
// 512-byte stretch of a region (counted from the file's start) holds its old
// bytes, its new bytes, the front of one and the rest of the other (a write
// cut short), or zeros where the file was cut and is being extended again;
// and the file's length stays between LowLength and HighLength.
//
// Encoded, all numbers little-endian (docs/file-format.md):
//   "VDRJRNL2", journal length (8), old length (8), new length (8),
//   low length (8), high length (8), region count (4),
//   per region: offset (8), old size (8), old bytes, new size (8), new bytes,
//   and a CRC-32 of everything before it (4).
class TkvxSfJournalImage {
public:
    struct TRegion {
        qint64 Offset = 0;
        QByteArray Old;
        QByteArray New;
    };

    qint64 OldLength = 0;
    qint64 NewLength = 0;
    qint64 LowLength = 0;
    qint64 HighLength = 0;
    QList<TRegion> Regions;

    // The length the journal states, read from its first bytes; -1 when
    // fewer than HeadSize bytes are given or they do not start a journal.
    static constexpr qsizetype HeadSize = 16;
    static qint64 StatedLength(const QByteArray &head);
    // Whether a journal file of `size` bytes starting with `head` (its first
    // HeadSize bytes, or all of a shorter one) is the start of a journal
    // whose writing stopped early.
    static bool IsCutOff(const QByteArray &head, qint64 size);

    QByteArray Encode() const;
    // Empty when `bytes` is a whole, sound journal, which it then holds;
    // otherwise why it cannot be used. `bytes` is as long as it states.
    QString Decode(const QByteArray &bytes);
    // Empty when `file` is in one of the states of this change; else why it
    // is not.
    QString Mismatch(const TkvxSfFile &file) const;
};
