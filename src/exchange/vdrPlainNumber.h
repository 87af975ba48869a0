#pragma once

#include <QByteArrayView>
#include <QDate>
#include <QStringView>

// The plain forms in which the tables and the exchange files hold numbers
// and dates, read straight from the text without a QString. Each gives
// false for any other form, which the caller then reads the general way;
// where these give true, the general readings give the same value.
namespace vdrPlainNumber {

// One to nine digits, after a "-" when `sign`: cannot overflow.
bool Integer(QStringView text, qint32 &number, bool sign = true);
bool Integer(QByteArrayView text, qint32 &number, bool sign = true);

// Digits with at most one "-" in front and one "." or "," between digits
// as decimal separator, no exponent, no blanks; the nearest double.
bool Decimal(QStringView text, double &number);
bool Decimal(QByteArrayView text, double &number);

// yyyy-mm-dd, digits only, a valid day.
bool Date(QStringView text, QDate &date);
bool Date(QByteArrayView text, QDate &date);

} // namespace vdrPlainNumber
