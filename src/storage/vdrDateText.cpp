#include "vdrDateText.h"

#include <QLocale>
#include <QRegularExpression>
#include <QStringList>

QChar DateSeparatorOf(const QString &format) {
    for (QChar ch : format)
        if (!ch.isLetter())
            return ch;
    return QLatin1Char('/');
}

namespace {

// 'd', 'M' and 'y' in the order the format shows them.
QString FieldOrder(const QString &format) {
    QString order;
    for (QChar ch : format) {
        const QChar field = ch == QLatin1Char('d')   ? QLatin1Char('d')
                            : ch == QLatin1Char('M') ? QLatin1Char('M')
                            : ch == QLatin1Char('y') ? QLatin1Char('y')
                                                     : QChar();
        if (!field.isNull() && !order.contains(field))
            order.append(field);
    }
    return order.size() == 3 ? order : QStringLiteral("Mdy");
}

} // namespace

QDate ParseShortDate(const QString &text, const QString &format, const QDate &today) {
    const QString t = text.trimmed();
    if (t == QLatin1String("/") || (t.size() == 1 && t.at(0) == DateSeparatorOf(format)))
        return today;
    // A format that names its months ("d MMM yyyy") is also read with the
    // names, as the edit shows a date.
    if (t.contains(QRegularExpression(QStringLiteral("[A-Za-z]")))) {
        const QDate named = QLocale::system().toDate(t, format);
        return named.isValid() ? named : QLocale::c().toDate(t, format);
    }
    static const QRegularExpression digits(QStringLiteral("^\\d+$"));
    const QStringList parts = t.split(QRegularExpression(QStringLiteral("[^0-9]+")), Qt::SkipEmptyParts);
    if (parts.size() < 2 || parts.size() > 3 ||
        t.contains(QRegularExpression(QStringLiteral("[^0-9\\s./,-]"))))
        return QDate();
    const QString order = FieldOrder(format);
    int day = 0, month = 0, year = today.year();
    int part = 0;
    for (QChar field : order) {
        if (field == QLatin1Char('y') && parts.size() == 2)
            continue;
        const QString &number = parts[part++];
        if (!digits.match(number).hasMatch() || number.size() > 4)
            return QDate();
        const int value = number.toInt();
        if (field == QLatin1Char('d'))
            day = value;
        else if (field == QLatin1Char('M'))
            month = value;
        else
            year = number.size() <= 2 ? (value <= 50 ? 2000 + value : 1900 + value) : value;
    }
    return QDate(year, month, day);
}
