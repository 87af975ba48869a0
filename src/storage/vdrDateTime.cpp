#include "vdrDateTime.h"

#include <cmath>

namespace vdrDateTime {

namespace {

// QDate's Julian day of 1 January of year 1, less one.
constexpr qint64 kJulianDayOfDayZero = 1721425;
constexpr double kMsecsPerDay = 86400000.0;

std::function<QDateTime()> &Clock() {
    static std::function<QDateTime()> clock;
    return clock;
}

} // namespace

qint32 DayNumberOf(const QDate &date) {
    return date.isValid() ? qint32(date.toJulianDay() - kJulianDayOfDayZero) : 0;
}

QDate DateOfDayNumber(qint32 dayNumber) {
    return dayNumber < 1 ? QDate() : QDate::fromJulianDay(qint64(dayNumber) + kJulianDayOfDayZero);
}

double ValueOf(const QDateTime &dateTime) {
    const double days = DayNumberOf(dateTime.date()) - kDayNumberOfZero;
    const double fraction = dateTime.time().msecsSinceStartOfDay() / kMsecsPerDay;
    return days < 0 ? days - fraction : days + fraction;
}

QDateTime DateTimeOf(double value) {
    const double whole = std::trunc(value);
    const double fraction = std::fabs(value - whole);
    qint32 dayNumber = qint32(whole) + kDayNumberOfZero;
    long msecs = std::lround(fraction * kMsecsPerDay);
    // A fraction that rounds up to a whole day is midnight of the next day,
    // not of this one.
    if (msecs >= long(kMsecsPerDay)) {
        msecs -= long(kMsecsPerDay);
        ++dayNumber;
    }
    return QDateTime(DateOfDayNumber(dayNumber), QTime::fromMSecsSinceStartOfDay(int(msecs)));
}

qint32 DayNumberOfValue(double value) {
    return qint32(std::trunc(value)) + kDayNumberOfZero;
}

double ValueOfDayNumber(qint32 dayNumber) {
    return double(dayNumber) - kDayNumberOfZero;
}

QDateTime Now() {
    return Clock() ? Clock()() : QDateTime::currentDateTime();
}

void SetClock(std::function<QDateTime()> clock) {
    Clock() = std::move(clock);
}

} // namespace vdrDateTime
