#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <QStringList>

// Windows code page 1252: the single-byte text of the database, the language
// file, the log and the TSV files. Only loads and saves call these.
namespace vdrCodePage {

// Every byte maps to one character; the five bytes 1252 leaves undefined map
// to the C1 control of the same value, so decoding never loses a byte.
// `high` false promises that no byte is 0x80 or more (vdrLineModel's
// LineEnd tells), so the bytes are widened without a look-up.
QString ToUnicode(QByteArrayView bytes, bool high = true);

// Characters 1252 cannot hold become `replacement`.
QByteArray FromUnicode(const QString &text, char replacement = '?');
// Every line followed by CR LF, encoded in one pass: a table's stream.
QByteArray FromUnicodeLines(const QStringList &lines, char replacement = '?');

// Whether every character of `text` can be stored.
bool CanEncode(const QString &text);
bool CanEncode(QChar ch);

} // namespace vdrCodePage
