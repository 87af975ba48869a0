#include "vdrDatabaseCheck.h"
#include "kvxSfJournal.h"
#include "kvxStreamFile.h"
#include "vdrCarPicture.h"
#include "vdrCarSave.h"
#include "vdrCars.h"
#include "vdrCarsUDF.h"
#include "vdrDatabaseTables.h"
#include "vdrFormatSettings.h"
#include "vdrMaint.h"
#include "vdrMaintEvents.h"
#include "vdrOptions.h"
#include "vdrRepairs.h"
#include "vdrSortOrder.h"
#include "vdrSortOrderList.h"
#include "vdrStreamDamage.h"
#include "vdrTestDatabase.h"
#include "vdrTestPictures.h"
#include "vdrUDF.h"

#include <gtest/gtest.h>

namespace {

QStringList Texts(const QList<TvdrCheckProblem> &problems) {
    QStringList texts;
    for (const TvdrCheckProblem &p : problems)
        texts.append(p.AsText());
    return texts;
}

QStringList RowProblems(const char *table, const QStringList &rows) {
    return Texts(TvdrDatabaseCheck::CheckRows(QLatin1String(table), rows));
}

// Every kind of row, written the way the program's windows write them.
// Returns the number of the car with a picture.
qint32 FillDatabase(const QString &folder) {
    TvdrFormatSettings::SetCurrent(TvdrFormatSettings::CommaLocale());
    const qint32 plate = UDF().AddUdf(0, QStringLiteral("Plate"));
    UDF().AddUdf(1, QString());
    UDF().Save();
    const qint32 oil = Repairs().AddRepair(QStringLiteral("Oil change"));
    Repairs().Save();

    TvdrCarEntry car;
    car.CarNbr = Cars().NewCar();
    car.Year = 2004;
    car.Make = QStringLiteral("Ford");
    car.Values = CarValuesForAllFields(car.CarNbr);
    car.Values[0].second = QStringLiteral("AB-123");
    SaveCar(car);
    Cars().NewCar();
    const QString picture = folder + QStringLiteral("/p.jpg");
    WriteWholeFile(picture, MakeJpeg(8, 8));
    InsertCarPicture(car.CarNbr, picture);

    TvdrMaintEntry event;
    event.CarNbr = car.CarNbr;
    event.Date = QDate(2004, 3, 15);
    event.Cost = 45.5;
    event.RepairNbrs = {oil};
    event.Note = QStringLiteral("two\r\n\tlines");
    SaveMaintEvent(event);
    event.Note.clear();
    SaveMaintEvent(event);

    TvdrSortOrderRec order;
    order.SetName(QStringLiteral("By plate"));
    order.SortOrderNbr = 1;
    order.AddSortField(plate, TvdrSortOrderField::UserDefined, 1);
    SortOrder().SortOrderList();
    SortOrder().AddSortOrder(order);
    SortOrder().Save();
    Options().SetValue(QStringLiteral("TfrmMain"), QStringLiteral("10 20 600 400"));
    Options().Save();
    TvdrFormatSettings::SetCurrent(TvdrFormatSettings::PointLocale());
    return car.CarNbr;
}

} // namespace

TEST(DatabaseCheck, EachTableNamesItsMalformedRowsByLine) {
    // Values are the tables' own business: a year or cost that does not parse
    // has a documented reading.
    EXPECT_EQ(RowProblems("TvdrCars", {"0000000=2004\tFord", "0000001=abc", "12345678=1999"}), QStringList());
    EXPECT_EQ(
        RowProblems("TvdrCars", {"0000000=2004", "no sign", "12=2000", "-0000001=1", "0000000=2010", "abc="}),
        (QStringList{"TvdrCars line 2: the row has no \"=\"",
                     "TvdrCars line 3: key \"12\" is not a record number",
                     "TvdrCars line 4: key \"-0000001\" is not a record number",
                     "TvdrCars line 5: key \"0000000\" is also on line 1",
                     "TvdrCars line 6: key \"abc\" is not a record number"}));
    EXPECT_EQ(RowProblems("TvdrRepairs", {"0000000=Oil", "Oil change"}),
              QStringList{"TvdrRepairs line 2: the row has no \"=\""});
    EXPECT_EQ(
        RowProblems("TvdrMaint", {"0000002\t0000005=731655\t120\t45.5", "0000002=731655",
                                  "0000002\t\t0000005=1", "0000002\t0000005=1"}),
        (QStringList{"TvdrMaint line 2: key \"0000002\" is not two record numbers (car, event)",
                     "TvdrMaint line 3: key \"0000002\\t\\t0000005\" is not two record numbers (car, event)",
                     "TvdrMaint line 4: key \"0000002\\t0000005\" is also on line 1"}));
    EXPECT_EQ(
        RowProblems("TvdrMaintRepairs", {"0000002\t0000005\t0000001", "0000002\t0000005",
                                         "0000002\t0000005\tx", "0000002\t0000005\t0000001\t0000003"}),
        (QStringList{"TvdrMaintRepairs line 2: the row is not three record numbers (car, event, repair)",
                     "TvdrMaintRepairs line 3: the row is not three record numbers (car, event, repair)",
                     "TvdrMaintRepairs line 4: the row is not three record numbers (car, event, repair)"}));
    const QString noNumbers =
        QStringLiteral("the row does not start with two record numbers, each followed by a TAB");
    EXPECT_EQ(RowProblems("TvdrMaintNotes",
                          {"0000002\t0000005\ta\\nb", "0000002\t0000006\t", "a note", "0000002\t0000007"}),
              (QStringList{"TvdrMaintNotes line 3: " + noNumbers, "TvdrMaintNotes line 4: " + noNumbers}));
    EXPECT_EQ(RowProblems("TvdrCarsUDF", {"0000003\t0000000\tAB-123", "0000003\tAB-123"}),
              QStringList{"TvdrCarsUDF line 2: " + noNumbers});
    EXPECT_EQ(RowProblems("TvdrUDF",
                          {"0000000\t0000002\tPlate", "0000001\t0000000\t", "Plate", "0000002\tx\tName"}),
              (QStringList{"TvdrUDF line 3: the row does not start with a field number and a position",
                           "TvdrUDF line 4: the row does not start with a field number and a position"}));
    // Sort orders may share a name; options may not share a key.
    EXPECT_EQ(RowProblems("TvdrSortOrder", {"By make=1\t1|0|0", "By make=2", "no sign"}),
              QStringList{"TvdrSortOrder line 3: the row has no \"=\""});
    EXPECT_EQ(RowProblems("tvdroptions", {"TfrmMain=1", "=5", "tfrmmain=2"}),
              (QStringList{"tvdroptions line 2: the row has no key before \"=\"",
                           "tvdroptions line 3: key \"tfrmmain\" is also on line 1"}));
    EXPECT_EQ(RowProblems("CarPic000000001", {"anything"}), QStringList());
}

TEST(DatabaseCheck, AProgramWrittenDatabaseIsSoundAndDamageIsFound) {
    TvdrStorageLogCapture log;
    TvdrTestDatabase db;
    const qint32 withPicture = FillDatabase(db.Folder());
    EXPECT_EQ(Texts(TvdrDatabaseCheck::CheckDatabase(db.Db())), QStringList());

    db.Db().WriteStream(QStringLiteral("TvdrCarsUDF"), 0,
                        QByteArray("0000000\t0000000\tAB-123\r\nAB-124\r\n"));
    Cars().RemoveCar(withPicture);
    Cars().Save();
    QByteArray damaged;
    db.Reopen([&damaged](const QString &file) { damaged = DamageBlock(file, QStringLiteral("TvdrMaint")); });

    // What start-up saw: the damaged table is empty, the others load as before.
    EXPECT_EQ(Maint().Count(), 0);
    EXPECT_EQ(UDF().Count(), 2);
    ASSERT_EQ(DamagedStreams().size(), 1);
    EXPECT_EQ(DamagedStreams()[0].StreamId, QStringLiteral("TvdrMaint"));
    EXPECT_EQ(Maint().LoadProblem(), DamagedStreams()[0].Message);

    const QStringList found = Texts(TvdrDatabaseCheck::CheckDatabase(db.Db()));
    ASSERT_EQ(found.size(), 4) << found.join(QLatin1Char('\n')).toStdString();
    EXPECT_EQ(found[0],
              QStringLiteral("CarPic000000000: the picture of car 0, which has no row in TvdrCars"));
    EXPECT_TRUE(found[1].startsWith(QStringLiteral("TvdrCarsUDF line 2: ")));
    EXPECT_EQ(found[2],
              QStringLiteral("TvdrMaint: the stream does not inflate (damaged block: zlib error -3 (invalid "
                             "code lengths set))"));
    // The load at start-up kept the damaged block, which does not inflate either.
    EXPECT_EQ(found[3],
              QStringLiteral("TvdrMaint.damaged: the stream does not inflate (damaged block: zlib error -3 "
                             "(invalid code lengths set))"));

    // The owner goes on; the next start finds the table sound and forgets the damage.
    TvdrMaintEntry event;
    event.CarNbr = Cars().CarNbrAt(0);
    event.Date = QDate(2010, 5, 1);
    SaveMaintEvent(event);
    db.Reopen();
    EXPECT_EQ(Maint().Count(), 1);
    EXPECT_TRUE(DamagedStreams().isEmpty());
    EXPECT_EQ(db.Db().RawBlock(QStringLiteral("TvdrMaint.damaged")), damaged);
}

TEST(DatabaseCheck, ATableThatCannotBeReadStopsACommandAndAJournalKeptAsideIsReported) {
    TvdrStorageLogCapture log;
    TvdrTestDatabase db;
    FillDatabase(db.Folder());
    RaiseIfTablesUnreadable();
    db.Reopen([](const QString &file) {
        DamageBlock(file, QStringLiteral("TvdrMaint"));
        WriteWholeFile(TkvxSfJournal::FileNameOf(file), "not a journal at all");
    });
    EXPECT_EQ(
        ErrorMessageOf([] { RaiseIfTablesUnreadable(); }),
        ("table TvdrMaint of " + db.FileName() +
         " cannot be read (damaged block: zlib error -3 (invalid code lengths set)), so nothing was done; "
         "its bytes "
         "are kept as TvdrMaint.damaged")
            .toStdString());

    const QStringList found = Texts(TvdrDatabaseCheck::CheckDatabase(db.Db()));
    EXPECT_EQ(found.last(),
              QStringLiteral("Vandor.dat-journal.refused: a journal kept aside and never applied: "
                             "it is not a journal of this program"));
    EXPECT_TRUE(
        log.Lines.contains(QStringLiteral("journal %1 was not applied to %2 and is kept as %1.refused: it is "
                                          "not a journal of this program")
                               .arg(TkvxSfJournal::FileNameOf(db.FileName()), db.FileName())))
        << log.Lines.join(QLatin1Char('\n')).toStdString();
}
