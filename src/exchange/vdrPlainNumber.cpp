#include "vdrPlainNumber.h"

#include <charconv>
#include <cmath>

namespace {

template <class TChar> int Unit(TChar ch) {
    return int(static_cast<std::make_unsigned_t<TChar>>(ch));
}
int Unit(QChar ch) {
    return ch.unicode();
}

template <class TView> bool Integer(TView text, qint32 &number, bool sign) {
    const bool negative = sign && !text.isEmpty() && Unit(text[0]) == '-';
    if (negative)
        text = text.sliced(1);
    if (text.isEmpty() || text.size() > 9)
        return false;
    qint32 n = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int u = Unit(text[i]);
        if (u < '0' || u > '9')
            return false;
        n = n * 10 + (u - '0');
    }
    number = negative ? -n : n;
    return true;
}

template <class TView> bool Decimal(TView text, double &number) {
    char ascii[32];
    if (text.isEmpty() || text.size() >= qsizetype(sizeof ascii))
        return false;
    qsizetype separator = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const int u = Unit(text[i]);
        if (u == '.' || u == ',') {
            // Digits on both sides, as every reading of an amount takes it.
            const int before = i > 0 ? Unit(text[i - 1]) : 0;
            if (separator >= 0 || before < '0' || before > '9' || i + 1 == text.size())
                return false;
            separator = i;
            ascii[i] = '.';
        } else if ((u >= '0' && u <= '9') || (u == '-' && i == 0)) {
            ascii[i] = char(u);
        } else {
            return false;
        }
    }
    const char *end = ascii + text.size();
    const std::from_chars_result result = std::from_chars(ascii, end, number);
    return result.ec == std::errc() && result.ptr == end;
}

template <class TView> bool Date(TView text, QDate &date) {
    if (text.size() != 10 || Unit(text[4]) != '-' || Unit(text[7]) != '-')
        return false;
    qint32 y = 0, m = 0, d = 0;
    if (!Integer(text.sliced(0, 4), y, false) || !Integer(text.sliced(5, 2), m, false) ||
        !Integer(text.sliced(8, 2), d, false))
        return false;
    date = QDate(y, m, d);
    return date.isValid();
}

template <class TView> qsizetype Fixed2(TView stored, char separator, char (&text)[32]) {
    qsizetype n = 0;
    qsizetype i = 0;
    bool nonZero = false;
    if (i < stored.size() && Unit(stored[i]) == '-')
        text[n++] = '-', ++i;
    const qsizetype integerStart = i;
    constexpr qsizetype kMaxIntegerDigits = 13; // with sign, point and three decimals, 18 bytes
    for (; i < stored.size() && Unit(stored[i]) >= '0' && Unit(stored[i]) <= '9'; ++i) {
        if (i - integerStart == kMaxIntegerDigits)
            return 0; // a damaged row may hold any number of digits
        nonZero = nonZero || Unit(stored[i]) != '0';
        text[n++] = char(Unit(stored[i]));
    }
    const qsizetype integerDigits = i - integerStart;
    if (integerDigits < 1 || (integerDigits > 1 && Unit(stored[integerStart]) == '0'))
        return 0;
    text[n++] = separator;
    qsizetype decimals = 0;
    if (i < stored.size() && (Unit(stored[i]) == '.' || Unit(stored[i]) == ',')) {
        for (++i; i < stored.size() && Unit(stored[i]) >= '0' && Unit(stored[i]) <= '9' && decimals < 3;
             ++i, ++decimals) {
            nonZero = nonZero || Unit(stored[i]) != '0';
            text[n++] = char(Unit(stored[i]));
        }
        if (decimals == 0)
            return 0;
    }
    // A negative zero is left to the double's own formatting.
    if (i != stored.size() || decimals > 2 || (text[0] == '-' && !nonZero))
        return 0;
    for (; decimals < 2; ++decimals)
        text[n++] = '0';
    return n;
}

} // namespace

namespace vdrPlainNumber {

qsizetype Fixed2(QStringView stored, char separator, char (&text)[32]) {
    return ::Fixed2(stored, separator, text);
}
qsizetype Fixed2(QByteArrayView stored, char separator, char (&text)[32]) {
    return ::Fixed2(stored, separator, text);
}

bool DayOfNumber(qint32 dayNumber, int &year, int &month, int &day) {
    if (dayNumber < 1)
        return false;
    // Days from 1 March of year 0, then 400-year eras of 146097 days. Every
    // step fits 32 unsigned bits, whose divisions by constants are cheaper
    // than 64-bit ones; an export runs this once per event.
    const quint32 z = quint32(dayNumber) + 305;
    const quint32 era = z / 146097;
    const quint32 doe = z - era * 146097;
    const quint32 yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const quint32 doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const quint32 mp = (5 * doy + 2) / 153;
    day = int(doy - (153 * mp + 2) / 5 + 1);
    month = int(mp < 10 ? mp + 3 : mp - 9);
    year = int(yoe + era * 400 + (month <= 2 ? 1 : 0));
    return true;
}

qsizetype Fixed2(double value, char separator, char (&text)[32]) {
    if (!(std::fabs(value) < 1e15) || (value == 0 && std::signbit(value)))
        return 0;
    // to_chars rounds a tie to even; a tie at two decimals is a multiple of
    // 1/8 with an odd count, exact in three decimals, and goes away from 0.
    const double eighths = value * 8;
    const bool tie = eighths == std::floor(eighths) && std::fmod(eighths, 2) != 0;
    const std::to_chars_result result =
        std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, tie ? 3 : 2);
    if (result.ec != std::errc())
        return 0;
    qsizetype length = result.ptr - text;
    if (tie)
        ++text[--length - 1]; // x.x25 -> x.x3, x.x75 -> x.x8: no carry
    text[length - 3] = separator;
    return length;
}

bool Integer(QStringView text, qint32 &number, bool sign) {
    return ::Integer(text, number, sign);
}
bool Integer(QByteArrayView text, qint32 &number, bool sign) {
    return ::Integer(text, number, sign);
}
bool Decimal(QStringView text, double &number) {
    return ::Decimal(text, number);
}
bool Decimal(QByteArrayView text, double &number) {
    return ::Decimal(text, number);
}
bool Date(QStringView text, QDate &date) {
    return ::Date(text, date);
}
bool Date(QByteArrayView text, QDate &date) {
    return ::Date(text, date);
}

} // namespace vdrPlainNumber
