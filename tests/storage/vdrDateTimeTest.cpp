#include "vdrDateTime.h"

#include <gtest/gtest.h>

using namespace vdrDateTime;

namespace {

QDateTime At(int y, int m, int d, int h = 0, int min = 0, int s = 0, int ms = 0) {
    return QDateTime(QDate(y, m, d), QTime(h, min, s, ms));
}

} // namespace

TEST(DateTime, DayNumbersAndValuesMeetOn30December1899) {
    EXPECT_EQ(DayNumberOf(QDate(1, 1, 1)), 1);
    EXPECT_EQ(DayNumberOf(QDate(2004, 1, 1)), 731581);
    EXPECT_EQ(DayNumberOf(QDate(2004, 3, 15)), 731655);
    EXPECT_EQ(DayNumberOf(QDate(1899, 12, 30)), 693594);
    EXPECT_EQ(ValueOf(At(1899, 12, 30)), 0.0);
    EXPECT_EQ(DateTimeOf(38061.75), At(2004, 3, 15, 18));
    EXPECT_FALSE(DateOfDayNumber(0).isValid());
    // Before 1899 the whole part is negative and the fraction still counts
    // forward from midnight.
    EXPECT_EQ(DateTimeOf(-1.25), At(1899, 12, 29, 6));
    EXPECT_EQ(ValueOf(At(1899, 12, 29, 6)), -1.25);
    EXPECT_EQ(DayNumberOfValue(-1.25), 693593);
    EXPECT_EQ(DateTimeOf(1.0 - 1e-10), At(1899, 12, 31)) << "rounds up to the next midnight";
}

TEST(DateTime, RoundTripsToTheDayAndTheMillisecond) {
    for (qint32 n = 1; n < 800000; n += 997)
        ASSERT_EQ(DayNumberOf(DateOfDayNumber(n)), n);
    for (const QDateTime &dt :
         {At(1850, 7, 4, 13, 14, 15, 16), At(2004, 2, 29, 23, 59, 59, 999), At(1, 1, 1, 12)}) {
        EXPECT_EQ(DateTimeOf(ValueOf(dt)), dt) << dt.toString(Qt::ISODateWithMs).toStdString();
        EXPECT_EQ(DayNumberOfValue(ValueOf(dt)), DayNumberOf(dt.date()));
    }
}
