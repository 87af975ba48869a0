#include "vdrFormatSettings.h"

#include "vdrStrUtils.h"

#include <QLocale>

#include <cmath>

namespace {

TvdrFormatSettings &CurrentSettings() {
    static TvdrFormatSettings settings;
    return settings;
}

} // namespace

TvdrFormatSettings TvdrFormatSettings::FromLocale(const QLocale &locale) {
    TvdrFormatSettings s;
    s.DecimalSeparator = locale.decimalPoint().isEmpty() ? QLatin1Char('.') : locale.decimalPoint()[0];
    s.ThousandSeparator = locale.groupSeparator().isEmpty() ? QLatin1Char(',') : locale.groupSeparator()[0];
    s.ShortDateFormat = locale.dateFormat(QLocale::ShortFormat);
    // The symbol's place comes from how the locale writes an amount.
    const QString one = locale.toCurrencyString(1.0);
    const QString number = locale.toString(1.0, 'f', 2);
    const qsizetype at = one.indexOf(number);
    if (at >= 0) {
        s.CurrencyPrefix = one.left(at);
        s.CurrencySuffix = one.mid(at + number.size());
    } else {
        s.CurrencyPrefix = locale.currencySymbol();
        s.CurrencySuffix.clear();
    }
    return s;
}

TvdrFormatSettings TvdrFormatSettings::PointLocale() {
    return TvdrFormatSettings();
}

TvdrFormatSettings TvdrFormatSettings::CommaLocale() {
    TvdrFormatSettings s;
    s.DecimalSeparator = QLatin1Char(',');
    s.ThousandSeparator = QLatin1Char('.');
    s.ShortDateFormat = QStringLiteral("dd.MM.yyyy");
    s.CurrencyPrefix.clear();
    s.CurrencySuffix = QStringLiteral(" \u20AC");
    return s;
}

const TvdrFormatSettings &TvdrFormatSettings::Current() {
    return CurrentSettings();
}

void TvdrFormatSettings::SetCurrent(const TvdrFormatSettings &settings) {
    CurrentSettings() = settings;
}

QString TvdrFormatSettings::StoredCost(double cost) const {
    QString text = QString::number(cost, 'g', 15);
    if (DecimalSeparator != QLatin1Char('.'))
        text.replace(QLatin1Char('.'), DecimalSeparator);
    return text;
}

double TvdrFormatSettings::ParseCost(const QString &text, bool *ok) {
    QString t = text.trimmed();
    t.replace(QLatin1Char(','), QLatin1Char('.'));
    bool parsed = false;
    double value = t.isEmpty() ? 0.0 : QLocale::c().toDouble(t, &parsed);
    if (!parsed || !std::isfinite(value))
        value = 0.0, parsed = false;
    if (ok)
        *ok = parsed;
    return value;
}

QString TvdrFormatSettings::Fixed2(double value) const {
    QString text = QString::number(value, 'f', 2);
    if (DecimalSeparator != QLatin1Char('.'))
        text.replace(QLatin1Char('.'), DecimalSeparator);
    return text;
}

QString TvdrFormatSettings::Currency(double value) const {
    const QString fixed = QString::number(std::fabs(value), 'f', 2);
    const qsizetype point = fixed.indexOf(QLatin1Char('.'));
    const QString amount =
        GroupDigits(fixed.left(point), QString(ThousandSeparator)) + DecimalSeparator + fixed.mid(point + 1);
    // A value that rounds to zero shows without a sign.
    const bool negative = value < 0 && fixed != QLatin1String("0.00");
    return (negative ? QStringLiteral("-") : QString()) + CurrencyPrefix + amount + CurrencySuffix;
}

QString TvdrFormatSettings::Grouped(qint64 value) const {
    return GroupThousands(value, QString(ThousandSeparator));
}

QString TvdrFormatSettings::ShortDate(const QDate &date) const {
    return date.toString(ShortDateFormat);
}
