#include "vdrFormat.h"

#include <cstdio>

namespace {

struct Directive {
    bool leftAlign = false;
    bool zeroPad = false;
    int width = 0;
    int precision = -1;
    QChar conversion;
};

QString Pad(QString body, const Directive &d, bool zeroAllowed) {
    if (body.size() >= d.width)
        return body;
    const int fill = d.width - int(body.size());
    if (d.leftAlign)
        return body + QString(fill, QLatin1Char(' '));
    // Zero padding goes after the sign.
    if (d.zeroPad && zeroAllowed) {
        const int signLen = (body.startsWith(QLatin1Char('-')) || body.startsWith(QLatin1Char('+'))) ? 1 : 0;
        return body.left(signLen) + QString(fill, QLatin1Char('0')) + body.mid(signLen);
    }
    return QString(fill, QLatin1Char(' ')) + body;
}

QString FormatInteger(qlonglong value, const Directive &d) {
    const bool negative = value < 0;
    const qulonglong magnitude = negative ? 0 - qulonglong(value) : qulonglong(value);
    QString digits = QString::number(magnitude, d.conversion == QLatin1Char('x') ? 16 : 10);
    if (d.precision >= 0 && digits.size() < d.precision)
        digits.prepend(QString(d.precision - digits.size(), QLatin1Char('0')));
    if (d.precision == 0 && magnitude == 0)
        digits.clear();
    // As in printf, a precision turns zero padding off for integers.
    return Pad(negative ? QLatin1Char('-') + digits : digits, d, d.precision < 0);
}

QString FormatReal(double value, const Directive &d, QChar decimalSeparator) {
    char pattern[8] = {'%', '.', '*', static_cast<char>(d.conversion.toLatin1()), 0};
    const int precision = d.precision >= 0 ? d.precision : (d.conversion == QLatin1Char('f') ? 2 : 15);
    char buf[512];
    std::snprintf(buf, sizeof buf, pattern, precision, value);
    QString body = QString::fromLatin1(buf);
    if (decimalSeparator != QLatin1Char('.'))
        body.replace(QLatin1Char('.'), decimalSeparator);
    return Pad(body, d, true);
}

} // namespace

QString FormatPrintf(const QString &format, const QVariantList &args, QChar decimalSeparator) {
    QString out;
    out.reserve(format.size() + 16);
    int nextArg = 0;
    const qsizetype n = format.size();
    for (qsizetype i = 0; i < n; ++i) {
        const QChar c = format[i];
        if (c != QLatin1Char('%')) {
            out += c;
            continue;
        }
        const qsizetype start = i;
        if (i + 1 < n && format[i + 1] == QLatin1Char('%')) {
            out += QLatin1Char('%');
            ++i;
            continue;
        }
        Directive d;
        qsizetype j = i + 1;
        for (; j < n; ++j) {
            if (format[j] == QLatin1Char('-'))
                d.leftAlign = true;
            else if (format[j] == QLatin1Char('0'))
                d.zeroPad = true;
            else
                break;
        }
        while (j < n && format[j].isDigit())
            d.width = qMin(d.width * 10 + format[j++].digitValue(), 100000);
        if (j < n && format[j] == QLatin1Char('.')) {
            d.precision = 0;
            ++j;
            while (j < n && format[j].isDigit())
                d.precision = qMin(d.precision * 10 + format[j++].digitValue(), 100000);
        }
        const QChar conv = j < n ? format[j].toLower() : QChar();
        const QString known = QStringLiteral("sdufegx");
        if (conv.isNull() || !known.contains(conv)) {
            out += format.mid(start, j - start + (j < n ? 1 : 0));
            i = j;
            continue;
        }
        d.conversion = conv;
        d.width = qMin(d.width, 1000);
        d.precision = qMin(d.precision, 100);
        const QVariant arg = nextArg < args.size() ? args[nextArg] : QVariant();
        ++nextArg;
        if (conv == QLatin1Char('s')) {
            QString s = arg.toString();
            if (d.precision >= 0)
                s.truncate(d.precision);
            out += Pad(s, d, false);
        } else if (conv == QLatin1Char('d') || conv == QLatin1Char('u') || conv == QLatin1Char('x')) {
            out += FormatInteger(arg.toLongLong(), d);
        } else {
            out += FormatReal(arg.toDouble(), d, decimalSeparator);
        }
        i = j;
    }
    return out;
}
