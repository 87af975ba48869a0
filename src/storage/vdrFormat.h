#pragma once

#include <QString>
#include <QVariant>

// printf-style formatting of the format strings the program stores and
// receives from the language file: %s, %d, %u, %x, %f, %e, %g and %%, each with
// the flags '-' and '0', a width and a precision ("%7.7d", "%9.9d",
// "%-10s"). Arguments are taken in order; a directive without an argument
// formats as empty (%s) or 0, and a malformed directive is copied as it
// stands, so a bad text from the language file can never crash a message.
// As everywhere in this program's texts, %f without a precision means two
// decimals and %g fifteen significant digits. The decimal separator of %f,
// %e and %g is `decimalSeparator`.
QString FormatPrintf(const QString &format, const QVariantList &args,
                     QChar decimalSeparator = QLatin1Char('.'));
