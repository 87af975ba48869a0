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

// Year, month and day of a day number (1 = 1 January of year 1, proleptic
// Gregorian), as vdrDateTime::DateOfDayNumber gives them; false below 1.
bool DayOfNumber(qint32 dayNumber, int &year, int &month, int &day);

// yyyy-mm-dd, digits only, a valid day.
bool Date(QStringView text, QDate &date);
bool Date(QByteArrayView text, QDate &date);

// The same for the text of a cost as the tables store it, when it has at
// most two decimals and at most thirteen digits before them: then the
// double it stands for writes as the text itself, padded to two decimals,
// with no double between. 0 for any other text.
qsizetype Fixed2(QStringView stored, char separator, char (&text)[32]);
qsizetype Fixed2(QByteArrayView stored, char separator, char (&text)[32]);

// `value` with exactly two decimals and `separator`, as
// TvdrFormatSettings::Fixed2 writes it (a tie rounds away from zero), into
// `text`; the length, or 0 for a value it leaves to Fixed2 (beyond 1e15,
// or a negative zero).
qsizetype Fixed2(double value, char separator, char (&text)[32]);

} // namespace vdrPlainNumber
