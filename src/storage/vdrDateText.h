#pragma once

#include <QDate>
#include <QString>

// Reads a date typed in the user's short date format (a QDate pattern such
// as "M/d/yyyy" or "dd.MM.yyyy"): the numbers are taken in the format's
// order of day, month and year, whatever separates them. A missing year is
// `today`'s; a two-digit year falls into 1951 to 2050; the date separator
// alone (or "/") means `today`. An invalid QDate when the text is no date.
QDate ParseShortDate(const QString &text, const QString &format, const QDate &today);

// The separator of the format ("/" for "M/d/yyyy").
QChar DateSeparatorOf(const QString &format);
