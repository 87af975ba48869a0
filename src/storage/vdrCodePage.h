#pragma once

#include <QByteArray>
#include <QString>

// Windows code page 1252: the single-byte text of the database, the language
// file, the log and the TSV files. Only loads and saves call these.
namespace vdrCodePage {

// Every byte maps to one character; the five bytes 1252 leaves undefined map
// to the C1 control of the same value, so decoding never loses a byte.
QString ToUnicode(const QByteArray &bytes);

// Characters 1252 cannot hold become `replacement`.
QByteArray FromUnicode(const QString &text, char replacement = '?');

// Whether every character of `text` can be stored.
bool CanEncode(const QString &text);
bool CanEncode(QChar ch);

} // namespace vdrCodePage
