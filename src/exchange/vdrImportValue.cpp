#include "vdrImportValue.h"

#include "vdrError.h"
#include "vdrFormatSettings.h"
#include "vdrLimits.h"
#include "vdrPlainNumber.h"
#include "vdrStrUtils.h"

#include <QDateTime>

#include <cmath>

namespace {

// The range of the four-decimal fixed-point currency the costs come from.
constexpr double kCurrencyLimit = 922337203685477.0;
constexpr int kQuotedLength = 40;
// What a row holds besides its texts: keys, numbers, separators.
constexpr qsizetype kRowNumbersLength = 64;

QString Quoted(const QString &text) {
    const QString shown =
        text.size() > kQuotedLength ? text.left(kQuotedLength) + QStringLiteral("...") : text;
    return QLatin1Char('"') + shown + QLatin1Char('"');
}

bool IsDigits(const QString &text, qsizetype from, qsizetype to) {
    if (from >= to)
        return false;
    for (qsizetype i = from; i < to; ++i)
        if (text[i] < QLatin1Char('0') || text[i] > QLatin1Char('9'))
            return false;
    return true;
}

// yyyy-mm-dd at the start of `text`, digits only (no signed years).
QDate LeadingDate(const QString &text) {
    if (text.size() < 10 || !IsDigits(text, 0, 4) || text[4] != QLatin1Char('-') || !IsDigits(text, 5, 7) ||
        text[7] != QLatin1Char('-') || !IsDigits(text, 8, 10))
        return QDate();
    return QDate(text.left(4).toInt(), text.mid(5, 2).toInt(), text.mid(8, 2).toInt());
}

// The trimmed text of a value; raises when it is missing or blank.
QString ValueText(const std::optional<QString> &text, const char *kind) {
    if (!text)
        throw EvdrError(
            QStringLiteral("the value is missing; it must be a valid %1").arg(QLatin1String(kind)));
    const QString trimmed = Trim(*text);
    if (trimmed.isEmpty())
        throw EvdrError(QStringLiteral("the value is empty; it must be a valid %1").arg(QLatin1String(kind)));
    return trimmed;
}

// Rounded to the costs' four decimals; false outside their range.
bool CostValue(double &cost) {
    if (std::fabs(cost) > kCurrencyLimit)
        return false;
    cost = std::round(cost * 10000.0) / 10000.0 + 0.0; // no "-0" in the table
    return true;
}

[[noreturn]] void Refuse(const QString &text, const char *kind) {
    throw EvdrError(QStringLiteral("%1 is not a valid %2").arg(Quoted(text), QLatin1String(kind)));
}

} // namespace

namespace vdrImportValue {

qint32 Integer(const std::optional<QString> &value) {
    const QString text = ValueText(value, "integer");
    const bool signed_ = text[0] == QLatin1Char('-') || text[0] == QLatin1Char('+');
    bool ok = IsDigits(text, signed_ ? 1 : 0, text.size());
    // toInt fails on overflow; a plus sign is dropped so every Qt reads it.
    const qint32 n = ok ? text.mid(text[0] == QLatin1Char('+') ? 1 : 0).toInt(&ok, 10) : 0;
    if (!ok)
        Refuse(text, "integer");
    return n;
}

QDate Date(const std::optional<QString> &value) {
    const QString text = ValueText(value, "date");
    QDate date = LeadingDate(text);
    // A date-time gives its day as written: a zone suffix does not move it.
    if (text.size() > 10 &&
        (text[10] != QLatin1Char('T') || !QDateTime::fromString(text, Qt::ISODateWithMs).isValid()))
        date = QDate();
    if (!date.isValid())
        Refuse(text, "date");
    return date;
}

double Cost(const std::optional<QString> &value) {
    const QString text = ValueText(value, "amount");
    bool ok = false;
    double cost = TvdrFormatSettings::ParseCost(text, &ok);
    if (!ok || !CostValue(cost))
        Refuse(text, "amount");
    return cost;
}

bool PlainInteger(QStringView text, qint32 &value) {
    return vdrPlainNumber::Integer(text, value);
}
bool PlainInteger(QByteArrayView text, qint32 &value) {
    return vdrPlainNumber::Integer(text, value);
}
bool PlainDate(QStringView text, QDate &value) {
    return vdrPlainNumber::Date(text, value);
}
bool PlainDate(QByteArrayView text, QDate &value) {
    return vdrPlainNumber::Date(text, value);
}
bool PlainCost(QStringView text, double &value) {
    return vdrPlainNumber::Decimal(text, value) && CostValue(value);
}
bool PlainCost(QByteArrayView text, double &value) {
    return vdrPlainNumber::Decimal(text, value) && CostValue(value);
}

QString Text(const std::optional<QString> &value) {
    if (!value)
        return QString();
    if (value->size() > vdrLimits::kMaxRowLength)
        throw EvdrError(
            QStringLiteral("the text is %1 characters long, more than the %2 a table row may hold")
                .arg(value->size())
                .arg(vdrLimits::kMaxRowLength));
    return *value;
}

void CheckRowTexts(std::initializer_list<qsizetype> lengths) {
    qsizetype total = 0;
    for (const qsizetype length : lengths)
        total += length;
    if (total + kRowNumbersLength > vdrLimits::kMaxRowLength)
        throw EvdrError(
            QStringLiteral("the row's texts are %1 characters long together, more than a table row "
                           "may hold (%2 with its numbers)")
                .arg(total)
                .arg(vdrLimits::kMaxRowLength));
}

void Fail(const QString &fileName, const QString &problem, const char *name, const QString &row, int index,
          int line) {
    QString where = QStringLiteral("%1 %2").arg(row).arg(index);
    if (name && *name)
        where = QLatin1String(name) + QStringLiteral(" of ") + where;
    if (line > 0)
        where += QStringLiteral(", line %1").arg(line);
    throw EvdrError(QStringLiteral("%1: %2 (%3)").arg(fileName, problem, where));
}

} // namespace vdrImportValue
