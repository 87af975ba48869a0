#include "vdrCliOptions.h"

#include "vdrCars.h"
#include "vdrDateTime.h"
#include "vdrError.h"
#include "vdrFormatSettings.h"
#include "vdrMaintFilter.h"
#include "vdrMaintSortedList.h"

TvdrCliOptions::TvdrCliOptions(const QStringList &args, int positional, const QStringList &withValue,
                               const QStringList &flags) {
    for (int i = positional; i < args.size(); ++i) {
        const QString &name = args[i];
        if (flags.contains(name)) {
            m_values.append({name, QString()});
        } else if (withValue.contains(name)) {
            if (i + 1 >= args.size())
                throw EvdrUsage(QStringLiteral("%1 needs a value").arg(name).toStdString());
            m_values.append({name, args[++i]});
        } else {
            throw EvdrUsage(QStringLiteral("unknown option %1").arg(name).toStdString());
        }
    }
}

bool TvdrCliOptions::Has(const QString &name) const {
    for (const auto &v : m_values)
        if (v.first == name)
            return true;
    return false;
}

std::optional<QString> TvdrCliOptions::Value(const QString &name) const {
    std::optional<QString> found;
    for (const auto &v : m_values)
        if (v.first == name)
            found = v.second;
    return found;
}

QStringList TvdrCliOptions::Values(const QString &name) const {
    QStringList all;
    for (const auto &v : m_values)
        if (v.first == name)
            all.append(v.second);
    return all;
}

void ExpectAtLeast(const TvdrCliContext &ctx, int min) {
    if (ctx.args.size() < min)
        throw EvdrUsage("wrong number of arguments");
}

qint32 ParseNumber(const QString &text, const char *what) {
    bool ok = false;
    const qint32 n = text.toInt(&ok, 10);
    if (!ok)
        throw EvdrError(
            QStringLiteral("%1 must be a whole number, not \"%2\"").arg(QLatin1String(what), text));
    return n;
}

double ParseAmount(const QString &text, const char *what) {
    bool ok = false;
    const double value = TvdrFormatSettings::ParseCost(text, &ok);
    if (!ok)
        throw EvdrError(QStringLiteral("%1 must be a number, not \"%2\"").arg(QLatin1String(what), text));
    return value;
}

QDate ParseDate(const QString &text) {
    const QDate date = QDate::fromString(text, Qt::ISODate);
    if (!date.isValid() || text.size() != 10)
        throw EvdrError(QStringLiteral("a date must be written YYYY-MM-DD, not \"%1\"").arg(text));
    return date;
}

qint32 ExistingCar(const QString &text) {
    const qint32 carNbr = ParseNumber(text, "CARNBR");
    if (!Cars().HasCar(carNbr))
        throw EvdrError(QStringLiteral("Car (%1) does not exist").arg(carNbr));
    return carNbr;
}

namespace {

std::unique_ptr<TvdrMaintFilter> ParseFilter(const std::optional<QString> &text) {
    if (!text)
        return std::make_unique<TvdrNullFilter>();
    const QStringList parts = text->split(QLatin1Char(':'));
    const QString kind = parts.value(0);
    if (kind == QLatin1String("repair") && parts.size() == 2)
        return std::make_unique<TvdrRepairFilter>(ParseNumber(parts[1], "REPAIRNBR"));
    if (parts.size() != 3)
        throw EvdrUsage(QStringLiteral("unknown filter %1").arg(*text).toStdString());
    if (kind == QLatin1String("date"))
        return std::make_unique<TvdrDateFilter>(
            vdrDateTime::ValueOfDayNumber(vdrDateTime::DayNumberOf(ParseDate(parts[1]))),
            vdrDateTime::ValueOfDayNumber(vdrDateTime::DayNumberOf(ParseDate(parts[2]))));
    if (kind == QLatin1String("mileage"))
        return std::make_unique<TvdrMileageFilter>(ParseNumber(parts[1], "FROM"),
                                                   ParseNumber(parts[2], "TO"));
    if (kind == QLatin1String("cost"))
        return std::make_unique<TvdrCostFilter>(ParseAmount(parts[1], "FROM"), ParseAmount(parts[2], "TO"));
    throw EvdrUsage(QStringLiteral("unknown filter %1").arg(*text).toStdString());
}

quint8 ParseSortColumn(const std::optional<QString> &text) {
    if (!text || *text == QLatin1String("date"))
        return TvdrMaintSortedList::ByDate;
    if (*text == QLatin1String("mileage"))
        return TvdrMaintSortedList::ByMileage;
    if (*text == QLatin1String("cost"))
        return TvdrMaintSortedList::ByCost;
    throw EvdrUsage(QStringLiteral("--sort takes date, mileage or cost, not %1").arg(*text).toStdString());
}

} // namespace

const QStringList &TvdrCliEventView::ValueOptions() {
    static const QStringList options = {QStringLiteral("--sort"), QStringLiteral("--filter")};
    return options;
}

const QStringList &TvdrCliEventView::Flags() {
    static const QStringList flags = {QStringLiteral("--desc")};
    return flags;
}

TvdrCliEventView::TvdrCliEventView(const TvdrCliOptions &options)
    : SortColumn(ParseSortColumn(options.Value(QStringLiteral("--sort")))),
      SortDirection(options.Has(QStringLiteral("--desc")) ? TvdrMaintSortedList::Descending
                                                          : TvdrMaintSortedList::Ascending),
      Filter(ParseFilter(options.Value(QStringLiteral("--filter")))) {}
