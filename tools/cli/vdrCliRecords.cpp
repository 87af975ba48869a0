// Commands on the cars and their history, through the same record
// operations the windows use.

#include "vdrCliCommands.h"
#include "vdrCliOptions.h"
#include "vdrCliSession.h"

#include "kvxLang.h"
#include "vdrCarPicture.h"
#include "vdrCarRemoval.h"
#include "vdrCarSave.h"
#include "vdrCars.h"
#include "vdrCarsUDF.h"
#include "vdrError.h"
#include "vdrMaint.h"
#include "vdrMaintEvents.h"
#include "vdrMaintFilter.h"
#include "vdrMaintNotes.h"
#include "vdrMaintRepairs.h"
#include "vdrMaintSortedList.h"
#include "vdrRepairs.h"
#include "vdrSortOrder.h"
#include "vdrSortOrderList.h"
#include "vdrTableTransaction.h"

#include <memory>
#include <optional>

namespace {

const QString kTab = QStringLiteral("\t");

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
    const TvdrCliOptions options(
        ctx.args, 1, {QStringLiteral("--year"), QStringLiteral("--make"), QStringLiteral("--model")}, {});
    const std::optional<QString> year = options.Value(QStringLiteral("--year"));
    TvdrCarEntry entry;
    entry.Year = year ? ParseNumber(*year, "--year") : 0;
    entry.Make = options.Value(QStringLiteral("--make")).value_or(QString());
    entry.Model = options.Value(QStringLiteral("--model")).value_or(QString());

    TvdrCliSession session(ctx.args[0], TvdrCliSession::Mode::ChangeOrCreate);
    InOneTransaction({&Cars(), &CarsUDF()}, [&] {
        entry.CarNbr = Cars().NewCar();
        entry.Values = CarValuesForAllFields(entry.CarNbr);
        SaveCar(entry);
    });
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

QString Amount(double value) {
    return QString::number(value, 'f', 2);
}

void ListEvents(TvdrCliContext &ctx) {
    ExpectAtLeast(ctx, 2);
    const TvdrCliOptions options(ctx.args, 2, TvdrCliEventView::ValueOptions(), TvdrCliEventView::Flags());
    ParseNumber(ctx.args[1], "CARNBR");
    const TvdrCliEventView view(options);
    const TvdrMaintFilter *filter = view.Filter.get();

    TvdrCliSession session(ctx.args[0], TvdrCliSession::Mode::Read);
    const qint32 carNbr = ExistingCar(ctx.args[1]);
    const std::unique_ptr<TvdrMaintSortedList> list =
        Maint().SortedList(carNbr, view.SortColumn, view.SortDirection);
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
                                 {QStringLiteral("--date"), QStringLiteral("--mileage"),
                                  QStringLiteral("--cost"), QStringLiteral("--repair"),
                                  QStringLiteral("--note")},
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
    qint32 maintNbr = -1;
    // A description picked anew belongs to the event's change.
    InOneTransaction({&Repairs(), &Maint(), &MaintRepairs(), &MaintNotes()}, [&] {
        for (const QString &repair : repairs)
            entry.RepairNbrs.append(SelectRepair(repair));
        maintNbr = SaveMaintEvent(entry);
    });
    WriteLine(ctx.out, QString::number(maintNbr));
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
        {"events", "DB CARNBR " VANDOR_CLI_EVENT_VIEW_USAGE, ListEvents},
        {"event-add", "DB CARNBR --date YYYY-MM-DD [--mileage N] [--cost X] [--repair TEXT]... [--note TEXT]",
         AddEvent},
        {"event-remove", "DB CARNBR MAINTNBR", RemoveEvent},
        {"repairs", "DB", ListRepairs},
        {"repairs-prune", "DB", PruneRepairs},
        {"sort-orders", "DB", ListSortOrders},
    };
    return commands;
}
