// Every command that saves several tables is one change of the database:
// stopped at any file operation, or failing at any one, it is in the file
// wholly or not at all, and the tables in memory agree with the file.

#include "vdrTableTransaction.h"
#include "kvxSfFile.h"
#include "kvxSfJournal.h"
#include "kvxStreamFile.h"
#include "vdrCarPicture.h"
#include "vdrCarRemoval.h"
#include "vdrCarSave.h"
#include "vdrCars.h"
#include "vdrCarsUDF.h"
#include "vdrError.h"
#include "vdrImportTSV.h"
#include "vdrMaint.h"
#include "vdrMaintEvents.h"
#include "vdrMaintNotes.h"
#include "vdrMaintRepairs.h"
#include "vdrOptions.h"
#include "vdrPicture.h"
#include "vdrRepairs.h"
#include "vdrSortOrder.h"
#include "vdrTestDatabase.h"
#include "vdrTestPictures.h"
#include "vdrUDF.h"
#include "vdrUdfChanges.h"

#include <QDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <map>

namespace {

using TStreams = std::map<QString, QByteArray>;

// The TOC and every stream of the file, as a reader finds them. Free gaps
// may hold other bytes after a change that was put back.
TStreams FileState(const QString &fileName) {
    TkvxStreamFile db;
    db.Open(fileName, true);
    TStreams state = StreamsOf(db);
    state[QStringLiteral("(toc)")] = db.Toc().AsText();
    return state;
}

// What every table holds in memory.
QStringList Tables() {
    return {Options().Text(), Repairs().Text(), Maint().Text(),   MaintRepairs().Text(), MaintNotes().Text(),
            Cars().Text(),    UDF().Text(),     CarsUDF().Text(), SortOrder().Text()};
}

TvdrMaintEntry Event(qint32 carNbr, qint32 maintNbr, int n) {
    TvdrMaintEntry entry;
    entry.CarNbr = carNbr;
    entry.MaintNbr = maintNbr;
    entry.Date = QDate(2004, 1, 1).addDays(n);
    entry.Mileage = 1000 * n;
    entry.Cost = 10.5 * n;
    entry.RepairNbrs = {n % 2, 1 - n % 2};
    entry.Note = QStringLiteral("note %1\r\nsecond line").arg(n);
    return entry;
}

// Two cars with field values, events with repairs and notes, a picture and
// a sort order on a field; and a TSV set of one more car beside it.
void Fleet(TvdrTestDatabase &db) {
    UDF().AddUdf(0, QStringLiteral("Plate"));
    UDF().AddUdf(1, QStringLiteral("Colour"));
    UDF().Save();
    Repairs().AddRepair(QStringLiteral("Oil change"));
    Repairs().AddRepair(QStringLiteral("Brakes"));
    Repairs().Save();
    for (int car = 0; car < 2; ++car) {
        const qint32 carNbr =
            StoreCar(2004 + car, QStringLiteral("Ford"), QStringLiteral("Model %1").arg(car));
        CarsUDF().SetCarValue(carNbr, 0, QStringLiteral("AB-%1").arg(car));
        CarsUDF().SetCarValue(carNbr, 1, QStringLiteral("Red"));
        CarsUDF().Save();
        for (int n = 0; n < 3; ++n)
            SaveMaintEvent(Event(carNbr, -1, n + car));
    }
    WriteWholeFile(db.File(QStringLiteral("car.jpg")), MakeJpeg(40, 30));
    InsertCarPicture(0, db.File(QStringLiteral("car.jpg")));
    TvdrSortOrderRec byPlate;
    byPlate.SetName(QStringLiteral("By plate"));
    byPlate.SortOrderNbr = 1;
    byPlate.AddSortField(0, TvdrSortOrderField::UserDefined, 0);
    SortOrder().AddSortOrder(byPlate);
    SortOrder().Save();

    const QString set = db.File(QStringLiteral("set"));
    QDir().mkpath(set);
    const std::map<QString, QByteArray> files = {
        {QStringLiteral("Cars.tsv"),
         "CarNbr\tYear\tMake\tModel\tPictureExtension\r\n5\t2010\tFiat\tPanda\tjpg\r\n"},
        {QStringLiteral("UDF.tsv"), "UdfNbr\tSortOrder\tName\r\n2\t0\tOwner\r\n"},
        {QStringLiteral("CarsUDF.tsv"), "CarNbr\tUdfNbr\tValue\r\n5\t2\tMe\r\n"},
        {QStringLiteral("Repairs.tsv"), "RepairNbr\tDescription\r\n1\tTyres\r\n"},
        {QStringLiteral("Maint.tsv"),
         "CarNbr\tMaintNbr\tDate\tMileage\tCost\r\n5\t0\t2011-02-03\t100\t9.50\r\n"},
        {QStringLiteral("MaintRepairs.tsv"), "CarNbr\tMaintNbr\tRepairNbr\r\n5\t0\t1\r\n"},
        {QStringLiteral("MaintNotes.tsv"), "CarNbr\tMaintNbr\tNote\r\n5\t0\tnew tyres\r\n"},
        {QStringLiteral("SortOrder.tsv"),
         "SortOrderName\tSortOrderNbr\tSortOrderFields\r\nBy owner\t2\t2|1|0\r\n"},
        {QStringLiteral("CarPic000000005.jpg"), MakeJpeg(32, 24)},
    };
    for (const auto &[name, bytes] : files)
        WriteWholeFile(set + QLatin1Char('/') + name, bytes);
}

struct TCommand {
    const char *Name;
    std::function<void(TvdrTestDatabase &)> Run;
};

std::vector<TCommand> Commands() {
    return {
        {"add an event", [](TvdrTestDatabase &) { SaveMaintEvent(Event(1, -1, 7)); }},
        {"change an event", [](TvdrTestDatabase &) { SaveMaintEvent(Event(0, 1, 8)); }},
        {"delete an event", [](TvdrTestDatabase &) { DeleteMaintEvent(0, 1); }},
        {"delete a car", [](TvdrTestDatabase &) { RemoveCarAndHistory(0); }},
        {"confirm the fields dialog",
         [](TvdrTestDatabase &) {
             ApplyUdfChanges({0}, {{1, QStringLiteral("Colour")}, {-1, QStringLiteral("Owner")}});
         }},
        {"insert a picture",
         [](TvdrTestDatabase &db) {
             InsertCarPicture(1, db.File(QStringLiteral("set/CarPic000000005.jpg")));
         }},
        {"clear a picture", [](TvdrTestDatabase &) { ClearCarPicture(0); }},
        {"save a car",
         [](TvdrTestDatabase &) {
             SaveCar({1,
                      1999,
                      QStringLiteral("Opel"),
                      QStringLiteral("Astra"),
                      {{0, QStringLiteral("XY")}, {1, QString()}}});
         }},
        {"import a TSV set",
         [](TvdrTestDatabase &db) { TvdrImportTSV(db.File(QStringLiteral("set"))).Execute(); }},
    };
}

struct CommandTest : ::testing::Test {
    TvdrTestDatabase db;
    QByteArray start;
    QStringList tablesBefore;
    TStreams before;
    TStreams fileBefore;

    void SetUp() override {
        Fleet(db);
        db.Reopen();
        start = ReadWholeFile(db.FileName());
        tablesBefore = Tables();
        before = StreamsOf(db.Db());
        fileBefore = FileState(db.FileName());
    }
    void TearDown() override {
        TkvxSfFaults::Reset();
        TkvxSfFaults::SetFlushing(true);
    }

    // Back to the start, as the next start of the program would find it.
    void Restart() {
        db.Reopen([this](const QString &fileName) { WriteWholeFile(fileName, start); });
    }

    // The streams after the command, and the file operations it takes.
    TStreams After(const TCommand &command, qint64 &operations) {
        Restart();
        TkvxSfFaults::StopAt(0);
        command.Run(db);
        operations = TkvxSfFaults::Count();
        EXPECT_EQ(TkvxSfFaults::Flushes(), 3) << "one commit";
        db.Reopen();
        return StreamsOf(db.Db());
    }
};

} // namespace

TEST_F(CommandTest, AStopAtAnyFileOperationLeavesEachCommandWhollyOrNotAtAll) {
    TkvxSfFaults::SetFlushing(false);
    int points = 0;
    for (const TCommand &command : Commands()) {
        SCOPED_TRACE(command.Name);
        qint64 operations = 0;
        const TStreams after = After(command, operations);
        ASSERT_NE(after, before);
        for (const bool torn : {false, true}) {
            for (qint64 k = 1; k <= operations; ++k) {
                SCOPED_TRACE(testing::Message() << "stopped at operation " << k << (torn ? ", torn" : ""));
                Restart();
                TkvxSfFaults::StopAt(k, torn);
                bool stopped = false;
                try {
                    command.Run(db);
                } catch (const EkvxSfStop &) {
                    stopped = true;
                }
                TkvxSfFaults::Reset();
                if (!stopped)
                    continue;
                ++points;
                db.Reopen();
                const TStreams state = StreamsOf(db.Db());
                EXPECT_TRUE(state == before || state == after);
                EXPECT_FALSE(TkvxSfJournal::Exists(db.FileName()));
            }
        }
    }
    RecordProperty("crash_points", points);
    std::printf("crash points of the commands: %d\n", points);
}

TEST_F(CommandTest, AFailingOperationUndoesTheCommandInFileAndMemoryAndRaises) {
    TkvxSfFaults::SetFlushing(false);
    for (const TCommand &command : Commands()) {
        SCOPED_TRACE(command.Name);
        qint64 operations = 0;
        After(command, operations);
        for (qint64 k = 1; k <= operations; ++k) {
            SCOPED_TRACE(testing::Message() << "operation " << k << " fails");
            Restart();
            TkvxSfFaults::FailAt(k, ENOSPC);
            const std::string error = ErrorMessageOf([&] { command.Run(db); });
            TkvxSfFaults::Reset();
            EXPECT_NE(error.find(": No space left on device"), std::string::npos) << error;
            EXPECT_EQ(Tables(), tablesBefore) << "the tables were loaded again";
            EXPECT_TRUE(StreamsOf(db.Db()) == before) << "the container agrees";
            EXPECT_TRUE(FileState(db.FileName()) == fileBefore) << "the file was put back";
            EXPECT_FALSE(TkvxSfJournal::Exists(db.FileName()));
        }
    }
    // The event's own write fails: the message names the file and the reason.
    Restart();
    TkvxSfFaults::FailAt(6, ENOSPC);
    EXPECT_EQ(ErrorMessageOf([] { SaveMaintEvent(Event(1, -1, 7)); }),
              ("cannot write " + db.FileName() + ": No space left on device").toStdString());
}

TEST_F(CommandTest, AnUndoneCommandLoadsTheSortOrdersAgainWithEveryStoredRow) {
    // Rows equal but for letter case: the start-up keeps both, and so must
    // the load that follows a failed command, or the next save loses one.
    const QByteArray rows = "By plate=1\t0|1|0\r\nBY PLATE=1\t0|1|0\r\nBy year=2\t0|0|0\r\n";
    db.Db().WriteStream(SortOrder().StreamId(), 0, rows);
    db.Reopen();
    const QString stored = SortOrder().Text();
    ASSERT_EQ(stored, QString::fromLatin1(rows));
    TkvxSfFaults::SetFlushing(false);
    TkvxSfFaults::FailAt(1, ENOSPC);
    EXPECT_NE(ErrorMessageOf([] {
                  ApplyUdfChanges({0}, {{1, QStringLiteral("Colour")}, {-1, QStringLiteral("Owner")}});
              }).find("No space left on device"),
              std::string::npos);
    TkvxSfFaults::Reset();
    EXPECT_EQ(SortOrder().Text(), stored);
    SortOrder().Save();
    db.Reopen();
    EXPECT_EQ(SortOrder().Text(), stored);
}

TEST_F(CommandTest, ACommandWritesTheBytesOfItsSavesOneByOneInOneFlush) {
    // A car's delete as it was made: each save its own change.
    TkvxSfFaults::StopAt(0);
    CarsUDF().RemoveCarValues(0);
    CarsUDF().Save();
    Maint().RemoveCarEvents(0);
    Maint().Save();
    MaintRepairs().RemoveCarLinks(0);
    MaintRepairs().Save();
    MaintNotes().RemoveCarNotes(0);
    MaintNotes().Save();
    Cars().RemoveCar(0);
    Cars().Save();
    TvdrPicture picture(0);
    picture.SetStreamFile(Cars().StreamFile());
    picture.Delete();
    EXPECT_EQ(TkvxSfFaults::Flushes(), 13)
        << "three for the first of six changes, two for each after it: the journal is kept";
    const QByteArray expected = ReadWholeFile(db.FileName());

    Restart();
    TkvxSfFaults::StopAt(0);
    RemoveCarAndHistory(0);
    EXPECT_EQ(TkvxSfFaults::Flushes(), 3);
    EXPECT_TRUE(ReadWholeFile(db.FileName()) == expected) << "the same bytes";
}

TEST_F(CommandTest, ACommandInsideAnotherJoinsItAndAFailureUndoesBoth) {
    TkvxSfFaults::SetFlushing(false);
    const std::string refused = ErrorMessageOf([] {
        InOneTransaction({&Repairs(), &Maint(), &MaintRepairs(), &MaintNotes()}, [] {
            const qint32 repairNbr = SelectRepair(QStringLiteral("Wipers"));
            TvdrMaintEntry entry = Event(1, -1, 7);
            entry.RepairNbrs = {repairNbr};
            SaveMaintEvent(entry);
            throw EvdrError("refused afterwards");
        });
    });
    EXPECT_EQ(refused, "refused afterwards");
    EXPECT_EQ(Tables(), tablesBefore);
    EXPECT_EQ(Repairs().OrderCount(), 2) << "the display order is built again";
    EXPECT_TRUE(ReadWholeFile(db.FileName()) == start) << "the file was not touched";

    TkvxSfFaults::StopAt(0);
    InOneTransaction({&Repairs(), &Maint(), &MaintRepairs(), &MaintNotes()}, [] {
        TvdrMaintEntry entry = Event(1, -1, 7);
        entry.RepairNbrs = {SelectRepair(QStringLiteral("Wipers"))};
        SaveMaintEvent(entry);
    });
    EXPECT_EQ(TkvxSfFaults::Flushes(), 3) << "one change for the description and the event";
    db.Reopen();
    EXPECT_EQ(Repairs().FindRepair(QStringLiteral("Wipers")), 2);
    EXPECT_TRUE(MaintRepairs().HasRepair(1, 3, 2));
}
