#pragma once

#include <QDate>
#include <QDateTime>

#include <functional>

// The two ways the program counts time:
// - a day number counts days from 1 January of year 1 (day 1) in the
//   proleptic Gregorian calendar; events store their date this way;
// - a date-time value counts days from 30 December 1899 (value 0) with the
//   time of day as the fraction; filters and date edits use it. Before 1899
//   the whole part is negative and the fraction still counts forward from
//   midnight, so -1.25 is 29 December 1899 at 06:00.
namespace vdrDateTime {

// The day number of 30 December 1899, date-time value 0.
constexpr qint32 kDayNumberOfZero = 693594;

// 0 for an invalid date.
qint32 DayNumberOf(const QDate &date);
// An invalid QDate for day numbers below 1.
QDate DateOfDayNumber(qint32 dayNumber);

double ValueOf(const QDateTime &dateTime);
QDateTime DateTimeOf(double value);
// The whole-day part of a date-time value, as a day number.
qint32 DayNumberOfValue(double value);
// Midnight of a day number, as a date-time value.
double ValueOfDayNumber(qint32 dayNumber);

// The current local date and time. Tests replace the clock; an empty
// function puts the system clock back.
QDateTime Now();
void SetClock(std::function<QDateTime()> clock);

} // namespace vdrDateTime
