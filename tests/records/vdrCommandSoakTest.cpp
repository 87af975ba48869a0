// A writer process that adds events, deletes and adds cars and imports, and
// is killed at random moments: after every kill the database must open with
// each command in it wholly or not at all, and with every command the writer
// saw committed.
//
// Kills: 40 by default; VANDOR_SOAK_KILLS=1000 runs the long soak.

#include "kvxSfJournal.h"
#include "kvxStreamFile.h"
#include "vdrCarPicture.h"
#include "vdrCarRemoval.h"
#include "vdrCarSave.h"
#include "vdrCars.h"
#include "vdrCarsUDF.h"
#include "vdrDatabaseTables.h"
#include "vdrFormatSettings.h"
#include "vdrImportTSV.h"
#include "vdrMaint.h"
#include "vdrMaintEvents.h"
#include "vdrMaintNotes.h"
#include "vdrMaintRepairs.h"
#include "vdrOptions.h"
#include "vdrPicture.h"
#include "vdrRepairs.h"
#include "vdrSortOrder.h"
#include "vdrStreamDamage.h"
#include "vdrTableTransaction.h"
#include "vdrTestDatabase.h"
#include "vdrTestPictures.h"
#include "vdrUDF.h"

#include <QDir>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <set>
#include <unistd.h>

namespace {

const QString kCommands = QStringLiteral("Soak.Commands");
const QString kCars = QStringLiteral("Soak.Cars");
const QString kEvents = QStringLiteral("Soak.Events");

int Counter(const QString &key) {
    return Options().GetValue(key).toInt();
}

void AddToCounter(const QString &key, int delta) {
    Options().SetValue(key, QString::number(Counter(key) + delta));
}

// One command of the soak, with the counters that tell what the file must
// hold saved in the same change.
void Command(const std::function<void()> &work) {
    InOneTransaction({&Options(), &Cars(), &CarsUDF(), &Maint(), &MaintRepairs(), &MaintNotes(), &UDF(),
                      &Repairs(), &SortOrder()},
                     [&] {
                         work();
                         AddToCounter(kCommands, 1);
                         Options().Save();
                     });
}

// An event says by its mileage which repairs and note it has.
QList<qint32> RepairsOf(qint32 mileage) {
    return {mileage % 3, (mileage + 1) % 3};
}
QString NoteOf(qint32 mileage) {
    return QStringLiteral("n%1\r\nend").arg(mileage);
}

void AddEvent(qint32 carNbr, qint32 mileage) {
    TvdrMaintEntry entry;
    entry.CarNbr = carNbr;
    entry.Date = QDate(2004, 1, 1).addDays(mileage % 3000);
    entry.Mileage = mileage;
    entry.Cost = mileage / 4.0;
    entry.RepairNbrs = RepairsOf(mileage);
    entry.Note = NoteOf(mileage);
    SaveMaintEvent(entry);
    AddToCounter(kEvents, 1);
}

void AddCar(const QString &folder, int n) {
    const qint32 carNbr = Cars().NewCar();
    SaveCar({carNbr,
             2000 + n % 20,
             QStringLiteral("Make"),
             QStringLiteral("Model %1").arg(n),
             {{0, QStringLiteral("P%1").arg(n)}, {1, QStringLiteral("blue")}}});
    InsertCarPicture(carNbr, folder + QStringLiteral("/car.jpg"));
    AddToCounter(kCars, 1);
}

void DeleteCar(qint32 carNbr) {
    const int events = Maint().Count();
    RemoveCarAndHistory(carNbr);
    AddToCounter(kEvents, Maint().Count() - events);
    AddToCounter(kCars, -1);
}

// Three cars, each with both values, a picture and one event.
void WriteImportSet(const QString &set) {
    QDir().mkpath(set);
    QByteArray cars = "CarNbr\tYear\tMake\tModel\tPictureExtension\r\n";
    QByteArray values = "CarNbr\tUdfNbr\tValue\r\n";
    QByteArray events = "CarNbr\tMaintNbr\tDate\tMileage\tCost\r\n";
    QByteArray links = "CarNbr\tMaintNbr\tRepairNbr\r\n";
    QByteArray notes = "CarNbr\tMaintNbr\tNote\r\n";
    for (int car = 0; car < 3; ++car) {
        const QByteArray n = QByteArray::number(car);
        cars += n + "\t2011\tImported\tModel " + n + "\tjpg\r\n";
        values += n + "\t0\tI" + n + "\r\n" + n + "\t1\tgreen\r\n";
        events += n + "\t0\t2012-03-04\t7\t1.75\r\n";
        for (qint32 repair : RepairsOf(7))
            links += n + "\t0\t" + QByteArray::number(repair) + "\r\n";
        notes += n + "\t0\t" + TvdrMaintNotes::StoredForm(NoteOf(7)).toLatin1() + "\r\n";
        WriteWholeFile(set + QStringLiteral("/CarPic%1.jpg").arg(car, 9, 10, QLatin1Char('0')),
                       MakeJpeg(20 + 8 * car, 15 + 6 * car));
    }
    const std::map<QString, QByteArray> files = {
        {QStringLiteral("Cars.tsv"), cars},
        {QStringLiteral("UDF.tsv"), "UdfNbr\tSortOrder\tName\r\n0\t0\tPlate\r\n1\t1\tColour\r\n"},
        {QStringLiteral("CarsUDF.tsv"), values},
        {QStringLiteral("Repairs.tsv"), "RepairNbr\tDescription\r\n0\tR0\r\n1\tR1\r\n2\tR2\r\n"},
        {QStringLiteral("Maint.tsv"), events},
        {QStringLiteral("MaintRepairs.tsv"), links},
        {QStringLiteral("MaintNotes.tsv"), notes},
        {QStringLiteral("SortOrder.tsv"), "SortOrderName\tSortOrderNbr\tSortOrderFields\r\n"},
    };
    for (const auto &[name, bytes] : files)
        WriteWholeFile(set + QLatin1Char('/') + name, bytes);
}

void CreateDatabase(const QString &file, const QString &folder) {
    TkvxStreamFile db;
    db.Open(file, false);
    BindTables(&db);
    UDF().AddUdf(0, QStringLiteral("Plate"));
    UDF().AddUdf(1, QStringLiteral("Colour"));
    UDF().Save();
    for (const char *description : {"R0", "R1", "R2"})
        Repairs().AddRepair(QString::fromLatin1(description));
    Repairs().Save();
    for (int n = 0; n < 4; ++n)
        Command([&] {
            AddCar(folder, n);
            AddEvent(Cars().CarNbrAt(n), n);
        });
    UnbindTables();
    db.Close();
}

[[noreturn]] void Writer(const QString &file, const QString &folder, int pipe, unsigned seed) {
    std::mt19937 rng(seed);
    try {
        TkvxStreamFile db;
        db.Open(file, false);
        BindTables(&db);
        for (;;) {
            const unsigned choice = rng() % 20;
            const int n = Counter(kCommands) + 1000;
            if (choice < 13 && Cars().Count() > 0) {
                Command([&] { AddEvent(Cars().CarNbrAt(int(rng() % unsigned(Cars().Count()))), n); });
            } else if (choice < 17 && Cars().Count() > 5) {
                Command([&] { DeleteCar(Cars().CarNbrAt(int(rng() % unsigned(Cars().Count())))); });
            } else if (choice < 17 || Cars().Count() > 12) {
                Command([&] { AddCar(folder, n); });
            } else {
                Command([&] {
                    TvdrImportTSV(folder + QStringLiteral("/set")).Execute();
                    AddToCounter(kCars, 3);
                    AddToCounter(kEvents, 3);
                });
            }
            char line[32];
            const int length = std::snprintf(line, sizeof line, "%d\n", Counter(kCommands));
            if (::write(pipe, line, size_t(length)) != length)
                ::_exit(3);
        }
    } catch (const std::exception &e) {
        std::fprintf(stderr, "the writer failed: %s\n", e.what());
        ::_exit(2);
    }
}

int LastReported(const QByteArray &text, int reported) {
    for (const QByteArray &line : text.split('\n'))
        if (!line.isEmpty())
            reported = line.toInt();
    return reported;
}

// Every command wholly or not at all: the counters saved with each command
// agree with the tables, every event has its repairs and note, every car
// its values and picture, and nothing refers to what is not there.
void CheckWholeCommands(TkvxStreamFile &db) {
    EXPECT_EQ(Cars().Count(), Counter(kCars));
    EXPECT_EQ(Maint().Count(), Counter(kEvents));
    std::set<qint32> cars;
    for (int i = 0; i < Cars().Count(); ++i) {
        const qint32 carNbr = Cars().CarNbrAt(i);
        cars.insert(carNbr);
        EXPECT_FALSE(CarsUDF().CarValue(carNbr, 0).isEmpty()) << "car " << carNbr;
        EXPECT_FALSE(CarsUDF().CarValue(carNbr, 1).isEmpty()) << "car " << carNbr;
        EXPECT_TRUE(Cars().HasPicture(carNbr) && db.Toc().Exists(TvdrPicture::StreamIdOf(carNbr)))
            << "car " << carNbr;
    }
    std::map<std::pair<qint32, qint32>, qint32> events;
    for (int i = 0; i < Maint().Count(); ++i) {
        const TvdrMaintRec *rec = Maint().EventAt(i);
        events[{rec->CarNbr, rec->MaintNbr}] = rec->Mileage;
        EXPECT_EQ(cars.count(rec->CarNbr), 1u) << "an event of a car that is gone";
    }
    std::map<std::pair<qint32, qint32>, QList<qint32>> links;
    for (int i = 0; i < MaintRepairs().Count(); ++i) {
        const TvdrMaintRepairs::TLink link = MaintRepairs().LinkAt(i);
        links[{link.CarNbr, link.MaintNbr}].append(link.RepairNbr);
    }
    for (int i = 0; i < MaintNotes().Count(); ++i) {
        const TvdrMaintNotes::TNote note = MaintNotes().NoteAt(i);
        EXPECT_EQ(events.count({note.CarNbr, note.MaintNbr}), 1u) << "a note without its event";
    }
    for (const auto &[key, mileage] : events) {
        QList<qint32> expected = RepairsOf(mileage);
        std::sort(expected.begin(), expected.end());
        QList<qint32> found = links[key];
        std::sort(found.begin(), found.end());
        EXPECT_EQ(found, expected) << "event " << key.first << "/" << key.second;
        EXPECT_EQ(MaintNotes().GetNote(key.first, key.second), NoteOf(mileage));
    }
    EXPECT_EQ(links.size(), events.size()) << "links without their event";
    EXPECT_EQ(CarsUDF().Count(), 2 * Cars().Count());
    for (int i = 0; i < db.Toc().Count(); ++i) {
        const QString id = db.Toc().Entry(i).Id;
        if (id.startsWith(QStringLiteral("CarPic"))) {
            EXPECT_EQ(cars.count(id.mid(6).toInt()), 1u) << id.toStdString();
        }
    }
}

int KillsWanted() {
    const QByteArray wanted = qgetenv("VANDOR_SOAK_KILLS");
    return wanted.isEmpty() ? 40 : wanted.toInt();
}

} // namespace

TEST(CommandSoak, AWriterKilledAtRandomLeavesEveryCommandWhollyOrNotAtAll) {
    LoadBuiltLanguage();
    TvdrFormatSettings::SetCurrent(TvdrFormatSettings::PointLocale());
    TvdrTempFolder folder;
    const QString file = folder.File(QStringLiteral("Vandor.dat"));
    WriteWholeFile(folder.File(QStringLiteral("car.jpg")), MakeJpeg(36, 27));
    WriteImportSet(folder.File(QStringLiteral("set")));
    CreateDatabase(file, folder.Path());

    std::mt19937 rng(20261210);
    const int wanted = KillsWanted();
    int kills = 0;
    int survived = 0;
    int putBack = 0; // kills in the middle of a commit
    int reported = 4;
    while (kills < wanted) {
        const unsigned seed = unsigned(rng());
        const QByteArray lines =
            RunKilledAfter([&](int pipe) { Writer(file, folder.Path(), pipe, seed); }, 2000 + rng() % 60000);
        ASSERT_FALSE(HasFailure());
        reported = LastReported(lines, reported);
        ++kills;

        SCOPED_TRACE(testing::Message() << "after kill " << kills);
        TvdrStorageLogCapture log;
        TkvxStreamFile db;
        ASSERT_NO_THROW(db.Open(file, false));
        BindTables(&db);
        putBack += log.Lines.filter(QStringLiteral("was put back")).size();
        EXPECT_TRUE(DamagedStreams().isEmpty());
        EXPECT_TRUE(db.KeptAsideJournals().isEmpty());
        EXPECT_FALSE(TkvxSfJournal::Exists(file));
        const int committed = Counter(kCommands);
        EXPECT_TRUE(committed == reported || committed == reported + 1)
            << "committed " << committed << ", the writer saw " << reported;
        CheckWholeCommands(db);
        reported = committed;
        UnbindTables();
        db.Close();
        if (::testing::Test::HasFailure())
            break;
        ++survived;
    }
    std::printf("kills: %d, survived: %d, in the middle of a commit: %d, commands committed: %d\n", kills,
                survived, putBack, reported);
    RecordProperty("kills", kills);
    RecordProperty("survived", survived);
    EXPECT_EQ(survived, wanted);
}
