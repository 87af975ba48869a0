// Commands on the cars and their history, through the same record
// operations the windows use.

#include "vdrCliCommands.h"
#include "vdrCliSession.h"

#include "kvxLang.h"
#include "vdrCarPicture.h"
#include "vdrCarRemoval.h"
#include "vdrCarSave.h"
#include "vdrCars.h"
#include "vdrDateTime.h"
#include "vdrError.h"
#include "vdrFormatSettings.h"
#include "vdrMaint.h"
#include "vdrMaintEvents.h"
#include "vdrMaintFilter.h"
#include "vdrMaintNotes.h"
#include "vdrMaintRepairs.h"
#include "vdrMaintSortedList.h"
#include "vdrRepairs.h"
#include "vdrSortOrder.h"
#include "vdrSortOrderList.h"

#include <memory>
#include <optional>

namespace {

const QString kTab = QStringLiteral("\t");

qint32 ParseNumber(const QString &text, const char *what) {
    bool ok = false;
    const qint32 n = text.toInt(&ok, 10);
    if (!ok)
        throw EvdrError(QStringLiteral("%1 must be a whole number, not \"%2\"").arg(QLatin1String(what), text));
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

// Options after the positional arguments: "--name value" pairs and flags.
class TvdrCliOptions {
public:
    TvdrCliOptions(const QStringList &args, int positional, const QStringList &withValue,
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

    bool Has(const QString &name) const {
        for (const auto &v : m_values)
            if (v.first == name)
                return true;
        return false;
    }
    // The last value given for `name`.
    std::optional<QString> Value(const QString &name) const {
        std::optional<QString> found;
        for (const auto &v : m_values)
            if (v.first == name)
                found = v.second;
        return found;
    }
    QStringList Values(const QString &name) const {
        QStringList all;
        for (const auto &v : m_values)
            if (v.first == name)
                all.append(v.second);
        return all;
    }

private:
    QList<QPair<QString, QString>> m_values;
};

void ExpectAtLeast(const TvdrCliContext &ctx, int min) {
    if (ctx.args.size() < min)
        throw EvdrUsage("wrong number of arguments");
}

qint32 ExistingCar(const QString &text) {
    const qint32 carNbr = ParseNumber(text, "CARNBR");
    if (!Cars().HasCar(carNbr))
        throw EvdrError(QStringLiteral("Car (%1) does not exist").arg(carNbr));
    return carNbr;
}

void ListCars(TvdrCliContext &ctx) {
    ExpectArgs(ctx, 1, 1);
    TvdrCliSession session(ctx.args[0], TvdrCliSession::Mode::Read);
    for (int i = 0; i < Cars().Count(); ++i) {
        const TvdrCarRec rec = Cars().CarRec(Cars().CarNbrAt(i));
        WriteLine(ctx.out, QStringList({QString::number(rec.CarNbr), QString::number(rec.Year), rec.Make,
                                        rec.Model, rec.PictureExtension})
                               .join(kTab));
    }
}

void AddCar(TvdrCliContext &ctx) {
    ExpectAtLeast(ctx, 1);
    const TvdrCliOptions options(ctx.args, 1, {QStringLiteral("--year"), QStringLiteral("--make"),
                                               QStringLiteral("--model")}, {});
    const std::optional<QString> year = options.Value(QStringLiteral("--year"));
    TvdrCarEntry entry;
    entry.Year = year ? ParseNumber(*year, "--year") : 0;
    entry.Make = options.Value(QStringLiteral("--make")).value_or(QString());
    entry.Model = options.Value(QStringLiteral("--model")).value_or(QString());

    TvdrCliSession session(ctx.args[0], TvdrCliSession::Mode::ChangeOrCreate);
    entry.CarNbr = Cars().NewCar();
    entry.Values = CarValuesForAllFields(entry.CarNbr);
    SaveCar(entry);
    WriteLine(ctx.out, QString::number(entry.CarNbr));
}

void RemoveCar(TvdrCliContext &ctx) {
    ExpectArgs(ctx, 2, 2);
    ParseNumber(ctx.args[1], "CARNBR");
    TvdrCliSession session(ctx.args[0], TvdrCliSession::Mode::Change);
    RemoveCarAndHistory(ExistingCar(ctx.args[1]));
}

void SetPicture(TvdrCliContext &ctx) {
    ExpectArgs(ctx, 3, 3);
    ParseNumber(ctx.args[1], "CARNBR");
    TvdrCliSession session(ctx.args[0], TvdrCliSession::Mode::Change);
    InsertCarPicture(ExistingCar(ctx.args[1]), ctx.args[2]);
}

void ClearPicture(TvdrCliContext &ctx) {
    ExpectArgs(ctx, 2, 2);
    ParseNumber(ctx.args[1], "CARNBR");
    TvdrCliSession session(ctx.args[0], TvdrCliSession::Mode::Change);
    ClearCarPicture(ExistingCar(ctx.args[1]));
}

// "date:FROM:TO", "mileage:FROM:TO", "cost:FROM:TO" or "repair:REPAIRNBR".
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
        return std::make_unique<TvdrMileageFilter>(ParseNumber(parts[1], "FROM"), ParseNumber(parts[2], "TO"));
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

QString Amount(double value) { return QString::number(value, 'f', 2); }

void ListEvents(TvdrCliContext &ctx) {
    ExpectAtLeast(ctx, 2);
    const TvdrCliOptions options(ctx.args, 2, {QStringLiteral("--sort"), QStringLiteral("--filter")},
                                 {QStringLiteral("--desc")});
    ParseNumber(ctx.args[1], "CARNBR");
    const quint8 column = ParseSortColumn(options.Value(QStringLiteral("--sort")));
    const std::unique_ptr<TvdrMaintFilter> filter = ParseFilter(options.Value(QStringLiteral("--filter")));

    TvdrCliSession session(ctx.args[0], TvdrCliSession::Mode::Read);
    const qint32 carNbr = ExistingCar(ctx.args[1]);
    const std::unique_ptr<TvdrMaintSortedList> list = Maint().SortedList(
        carNbr, column,
        options.Has(QStringLiteral("--desc")) ? TvdrMaintSortedList::Descending : TvdrMaintSortedList::Ascending);
    for (int i = 0; i < list->Count(); ++i) {
        TvdrMaintRec &rec = list->Items(i);
        if (!filter->Matches(rec))
            continue;
        TvdrListItems repairs;
        MaintRepairs().GetEventRepairs(carNbr, rec.MaintNbr, 0, repairs);
        QStringList descriptions;
        for (const TvdrListItem &item : repairs)
            descriptions.append(item.Caption);
        WriteLine(ctx.out, QStringList({QString::number(rec.MaintNbr), rec.GetDate().toString(Qt::ISODate),
                                        QString::number(rec.Mileage), Amount(rec.Cost),
                                        descriptions.join(QStringLiteral("; ")),
                                        MaintNotes().StoredNote(carNbr, rec.MaintNbr)})
                               .join(kTab));
    }
    WriteLine(ctx.out, QStringLiteral("Total\t") + Amount(list->TotalCost(*filter)));
}

void AddEvent(TvdrCliContext &ctx) {
    ExpectAtLeast(ctx, 2);
    const TvdrCliOptions options(ctx.args, 2,
                                 {QStringLiteral("--date"), QStringLiteral("--mileage"), QStringLiteral("--cost"),
                                  QStringLiteral("--repair"), QStringLiteral("--note")},
                                 {});
    ParseNumber(ctx.args[1], "CARNBR");
    const std::optional<QString> date = options.Value(QStringLiteral("--date"));
    if (!date)
        throw EvdrUsage("--date is required");
    TvdrMaintEntry entry;
    entry.Date = ParseDate(*date);
    const std::optional<QString> mileage = options.Value(QStringLiteral("--mileage"));
    entry.Mileage = mileage ? ParseNumber(*mileage, "--mileage") : 0;
    const std::optional<QString> cost = options.Value(QStringLiteral("--cost"));
    entry.Cost = cost ? ParseAmount(*cost, "--cost") : 0.0;
    entry.Note = options.Value(QStringLiteral("--note")).value_or(QString());
    const QStringList repairs = options.Values(QStringLiteral("--repair"));

    TvdrCliSession session(ctx.args[0], TvdrCliSession::Mode::Change);
    entry.CarNbr = ExistingCar(ctx.args[1]);
    // Checked before the first pick saves a new description.
    for (const QString &repair : repairs)
        if (repair.trimmed().isEmpty())
            throw EvdrError(Lang().GetText(QStringLiteral("WM-RepairDescriptionIsBlank")));
    for (const QString &repair : repairs)
        entry.RepairNbrs.append(SelectRepair(repair));
    WriteLine(ctx.out, QString::number(SaveMaintEvent(entry)));
}

void RemoveEvent(TvdrCliContext &ctx) {
    ExpectArgs(ctx, 3, 3);
    ParseNumber(ctx.args[1], "CARNBR");
    const qint32 maintNbr = ParseNumber(ctx.args[2], "MAINTNBR");
    TvdrCliSession session(ctx.args[0], TvdrCliSession::Mode::Change);
    const qint32 carNbr = ExistingCar(ctx.args[1]);
    if (!Maint().FindEvent(carNbr, maintNbr))
        throw EvdrError(QStringLiteral("Event (%1) of car %2 does not exist").arg(maintNbr).arg(carNbr));
    DeleteMaintEvent(carNbr, maintNbr);
}

void ListRepairs(TvdrCliContext &ctx) {
    ExpectArgs(ctx, 1, 1);
    TvdrCliSession session(ctx.args[0], TvdrCliSession::Mode::Read);
    Repairs().BuildOrder(false);
    for (int i = 0; i < Repairs().OrderCount(); ++i) {
        const qint32 repairNbr = Repairs().RepairNbrAt(i);
        WriteLine(ctx.out, QString::number(repairNbr) + kTab + Repairs().Description(repairNbr));
    }
}

void PruneRepairs(TvdrCliContext &ctx) {
    ExpectArgs(ctx, 1, 1);
    TvdrCliSession session(ctx.args[0], TvdrCliSession::Mode::Change);
    Repairs().RemoveUnlinked();
    Repairs().Save();
}

void ListSortOrders(TvdrCliContext &ctx) {
    ExpectArgs(ctx, 1, 1);
    TvdrCliSession session(ctx.args[0], TvdrCliSession::Mode::Read);
    const std::unique_ptr<TvdrSortOrderList> list = SortOrder().SortOrderList();
    for (int i = 0; i < list->Count(); ++i)
        WriteLine(ctx.out, list->Items(i)->Encode());
}

} // namespace

const std::vector<TvdrCliCommand> &RecordsCommands() {
    static const std::vector<TvdrCliCommand> commands = {
        {"cars", "DB", ListCars},
        {"car-add", "DB [--year N] [--make TEXT] [--model TEXT]", AddCar},
        {"car-remove", "DB CARNBR", RemoveCar},
        {"picture-set", "DB CARNBR FILE", SetPicture},
        {"picture-clear", "DB CARNBR", ClearPicture},
        {"events",
         "DB CARNBR [--sort date|mileage|cost] [--desc] "
         "[--filter date:FROM:TO|mileage:FROM:TO|cost:FROM:TO|repair:REPAIRNBR]",
         ListEvents},
        {"event-add", "DB CARNBR --date YYYY-MM-DD [--mileage N] [--cost X] [--repair TEXT]... [--note TEXT]",
         AddEvent},
        {"event-remove", "DB CARNBR MAINTNBR", RemoveEvent},
        {"repairs", "DB", ListRepairs},
        {"repairs-prune", "DB", PruneRepairs},
        {"sort-orders", "DB", ListSortOrders},
    };
    return commands;
}
