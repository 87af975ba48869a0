#include "vdrSortOrderField.h"

#include "vdrCmRtn.h"
#include "vdrStrUtils.h"

namespace {

// Part `n` of a stored field; 0 when it is missing or not an integer.
qint32 PartAt(int n, const QString &text) {
    bool ok = false;
    const qint32 value = Trim(TvdrCmRtn::GetField(n, text, QLatin1Char('|'))).toInt(&ok, 10);
    return ok ? value : 0;
}

} // namespace

QString TvdrSortOrderField::Encode() const {
    return QStringLiteral("%1|%2|%3").arg(FieldNbr).arg(int(FieldKind)).arg(int(Direction));
}

void TvdrSortOrderField::Decode(const QString &text) {
    FieldNbr = PartAt(1, text);
    FieldKind = quint8(PartAt(2, text) & 0xFF);
    Direction = quint8(PartAt(3, text) & 0xFF);
}
