#pragma once

#include <QChar>
#include <QDate>
#include <QString>

class QLocale;

// The number and date formats the user sees, and the decimal separator of
// stored costs. Filled from the system locale at start-up; tests set it
// explicitly so that no result depends on the machine.
class TvdrFormatSettings {
public:
    QChar DecimalSeparator = QLatin1Char('.');
    QChar ThousandSeparator = QLatin1Char(',');
    QString ShortDateFormat = QStringLiteral("M/d/yyyy"); // a QDate format pattern
    QString CurrencyPrefix = QStringLiteral("$");         // text before the amount
    QString CurrencySuffix;                               // text after it

    static TvdrFormatSettings FromLocale(const QLocale &locale);
    // A point locale (en-US) and a comma locale (de-DE), for tests.
    static TvdrFormatSettings PointLocale();
    static TvdrFormatSettings CommaLocale();

    // The process-wide settings; start-up and tests replace them.
    static const TvdrFormatSettings &Current();
    static void SetCurrent(const TvdrFormatSettings &settings);

    // Stored form of a cost: general format, up to 15 significant digits, the
    // decimal separator, no grouping (45.5 or 45,5).
    QString StoredCost(double cost) const;
    // Reads a stored cost written with either a point or a comma: the stored
    // form has no grouping, so both are unambiguous, and a database moved to
    // another locale keeps its costs. `ok` is false (and 0 returned) when the
    // text is not a number.
    static double ParseCost(const QString &text, bool *ok = nullptr);

    // "%f": fixed, two decimals, this decimal separator, no grouping.
    QString Fixed2(double value) const;
    // Currency: grouped, two decimals, with the currency symbol.
    QString Currency(double value) const;
    // Digits grouped by threes with this thousands separator.
    QString Grouped(qint64 value) const;
    QString ShortDate(const QDate &date) const;
};
