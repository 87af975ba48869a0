#include "kvxSfTocEntry.h"

#include "vdrCodePage.h"
#include "vdrError.h"
#include "vdrStrUtils.h"

#include <charconv>

namespace {

constexpr char kFieldSeparator = '\x01';

qint32 ToInt(const QByteArray &token) {
    bool ok = false;
    const qint32 value = token.toInt(&ok, 10);
    return ok ? value : 0;
}

} // namespace

QString TrimTocId(const QString &id) {
    return Trim(id);
}

void CheckTocId(const QString &id) {
    for (qsizetype i = 0; i < id.size(); ++i) {
        const QChar ch = id[i];
        if (ch == QLatin1Char('\x01') || ch == QLatin1Char('\x02'))
            throw EvdrError(
                QStringLiteral("Id (%1) holds the byte %2, which separates the table of contents")
                    .arg(id, ch == QLatin1Char('\x01') ? QStringLiteral("0x01") : QStringLiteral("0x02")));
        if (!vdrCodePage::CanEncode(ch)) {
            const bool pair = ch.isHighSurrogate() && i + 1 < id.size();
            throw EvdrError(QStringLiteral("Id (%1) holds \"%2\", which code page 1252 cannot hold")
                                .arg(id, id.mid(i, pair ? 2 : 1)));
        }
    }
}

QList<QByteArray> SplitTocText(const QByteArray &text, char separator) {
    QList<QByteArray> tokens = text.split(separator);
    if (text.isEmpty() || text.endsWith(separator))
        tokens.removeLast();
    return tokens;
}

// Every commit writes the whole table of contents: no temporaries.
void TkvxSfTocEntry::AppendTo(QByteArray &text) const {
    // Each number takes at most 11 characters.
    char numbers[64];
    char *p = numbers;
    for (const qint32 value : {Offset, Size}) {
        p = std::to_chars(p, p + 12, value).ptr;
        *p++ = kFieldSeparator;
    }
    *p++ = Free ? '1' : '0';
    *p++ = kFieldSeparator;
    p = std::to_chars(p, p + 12, Tag).ptr;
    *p++ = kFieldSeparator;
    text.append(numbers, p - numbers);
    vdrCodePage::Append(text, Id);
}

void TkvxSfTocEntry::FromText(const QByteArray &text) {
    Offset = 0;
    Size = 0;
    Free = true;
    Tag = 0;
    Id.clear();
    const QList<QByteArray> tokens = SplitTocText(text, kFieldSeparator);
    if (tokens.size() > 0)
        Offset = ToInt(tokens[0]);
    if (tokens.size() > 1)
        Size = ToInt(tokens[1]);
    if (tokens.size() > 2)
        Free = tokens[2] == "1";
    if (tokens.size() > 3)
        Tag = ToInt(tokens[3]);
    if (tokens.size() > 4)
        Id = TrimTocId(vdrCodePage::ToUnicode(tokens[4]));
}
