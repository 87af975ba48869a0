#pragma once

#include "vdrCli.h"

#include <QDate>
#include <QList>
#include <QPair>
#include <QStringList>

#include <memory>
#include <optional>

class TvdrMaintFilter;

// Options after the positional arguments: "--name value" pairs and flags.
// Raises EvdrUsage for an unknown option or a missing value.
class TvdrCliOptions {
public:
    TvdrCliOptions(const QStringList &args, int positional, const QStringList &withValue,
                   const QStringList &flags);

    bool Has(const QString &name) const;
    // The last value given for `name`.
    std::optional<QString> Value(const QString &name) const;
    QStringList Values(const QString &name) const;

private:
    QList<QPair<QString, QString>> m_values;
};

void ExpectAtLeast(const TvdrCliContext &ctx, int min);
qint32 ParseNumber(const QString &text, const char *what);
double ParseAmount(const QString &text, const char *what);
// YYYY-MM-DD.
QDate ParseDate(const QString &text);
// A car of the bound database; raises EvdrError when it has no row.
qint32 ExistingCar(const QString &text);

#define VANDOR_CLI_EVENT_VIEW_USAGE                                                                          \
    "[--sort date|mileage|cost] [--desc] [--filter "                                                         \
    "date:FROM:TO|mileage:FROM:TO|cost:FROM:TO|repair:REPAIRNBR]"

// The order and filter of a car's event list, as the maintenance view keeps
// them: --sort date|mileage|cost, --desc, and --filter date:FROM:TO,
// mileage:FROM:TO, cost:FROM:TO or repair:REPAIRNBR.
struct TvdrCliEventView {
    static const QStringList &ValueOptions();
    static const QStringList &Flags();

    explicit TvdrCliEventView(const TvdrCliOptions &options);

    quint8 SortColumn;
    quint8 SortDirection;
    std::unique_ptr<TvdrMaintFilter> Filter;
};
