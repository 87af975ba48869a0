#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

// One entry of the table of contents: a block in use or a free gap.
// Text form: Offset 0x01 Size 0x01 Free 0x01 Tag 0x01 Id (Id in code page 1252).
class TkvxSfTocEntry {
public:
    qint32 Offset = 0;
    qint32 Size = 0;
    bool Free = true;
    qint32 Tag = 0;
    QString Id; // always trimmed; empty for a free gap

    // Its record in the text of the table of contents.
    void AppendTo(QByteArray &text) const;
    // Missing or invalid numbers read as 0, a missing Free flag as free.
    void FromText(const QByteArray &text);
};

// The tokenizer of both levels of the TOC text: two adjacent separators give
// an empty token, a separator at the very end gives none, and an empty text
// gives no tokens at all.
QList<QByteArray> SplitTocText(const QByteArray &text, char separator);

// Ids are stored and compared without leading and trailing codes 0..32.
QString TrimTocId(const QString &id);

// Raises unless every character of `id` can be stored in the TOC: not the
// separators 0x01 and 0x02, nothing code page 1252 cannot hold. Two such Ids
// would otherwise be stored alike and name one stream twice.
void CheckTocId(const QString &id);
