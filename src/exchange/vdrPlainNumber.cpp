#include "vdrPlainNumber.h"

#include <charconv>

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

} // namespace

namespace vdrPlainNumber {

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
