#pragma once

#include <QByteArrayView>
#include <QString>

// Small text helpers shared by the tables, the exchange code and the views.
// Positions and word numbers count from 1, as the stored formats do.

// `text` without the characters 0..32 at either end (QString::trimmed would
// also strip Unicode spaces, which stored rows may legitimately hold).
QString Trim(const QString &text);

// `text` without every character that occurs in `chars`.
QString FilterChars(const QString &text, const QString &chars);

bool CharInSet(const QString &chars, QChar ch);

int CountChar(const QString &text, QChar ch);

// A word is a maximal run of characters not in `delimiters`; leading,
// trailing and repeated delimiters never make empty words.
// WordPosition: where word `n` starts (1-based), 0 when there is none.
int WordPosition(int n, const QString &text, const QString &delimiters);
// Word `n`, empty when there is none.
QString ExtractWord(int n, const QString &text, const QString &delimiters);
// The same over stored bytes, with TAB as the one delimiter.
QByteArrayView ExtractTabWord(int n, QByteArrayView text);

// Stored bytes read as QString::toInt reads their text, in base 10; false
// when they are no integer.
bool ToInt(QByteArrayView text, int &number);

// A run of decimal digits in groups of three from the right, joined by
// `separator`: the one digit grouping of the program.
QString GroupDigits(const QString &digits, const QString &separator);
// 1234567 -> "1,234,567" with "," as `separator`; a negative number keeps
// its "-" in front of the first group.
QString GroupThousands(qint64 number, const QString &separator);
QString GroupThousandsComma(qint64 number);

// `text` with every TAB, CR, LF and NUL turned into a blank: a field of a
// tab-separated row holds no separator, or the row would read back as other
// fields or several rows.
QString SingleLine(const QString &text);
