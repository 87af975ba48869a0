// The database file's bytes for a fixed series of commands, against the
// files an earlier build wrote for the same series: faster loads and saves
// must not change a byte of what lands on the disk (row text, code page,
// compression, block placement, TOC).
//
// To write the golden files anew (only when the format changes on purpose):
//     VANDOR_WRITE_GOLDEN=1 bin/vandor_records_tests --gtest_filter='GoldenBytes.*'

#include "kvxSfFaults.h"
#include "kvxStreamFile.h"
#include "vdrCarPicture.h"
#include "vdrCarRemoval.h"
#include "vdrCarSave.h"
#include "vdrCars.h"
#include "vdrMaintEvents.h"
#include "vdrOptions.h"
#include "vdrRepairs.h"
#include "vdrSortOrder.h"
#include "vdrSortOrderField.h"
#include "vdrTestDatabase.h"
#include "vdrUdfChanges.h"

#include <gtest/gtest.h>

namespace {

// Car and event texts with characters of code page 1252's upper half, line
// breaks, TABs and backslashes, so the escaping and the encoding show too.
QString NoteFor(int n) {
    switch (n % 5) {
    case 0:
        return QStringLiteral("Ölwechsel, Filter für 12,50 €\r\nnächstes Mal Zündkerzen");
    case 1:
        return QStringLiteral("tab\there and a back\\slash");
    case 2:
        return QString();
    case 3:
        return QStringLiteral("line one\nline two\r\nline three");
    default:
        return QStringLiteral("„Garantie“ – Œuvre ™ %1").arg(n);
    }
}

TvdrMaintEntry Event(qint32 carNbr, qint32 maintNbr, int n) {
    TvdrMaintEntry entry;
    entry.CarNbr = carNbr;
    entry.MaintNbr = maintNbr;
    entry.Date = QDate(2003, 2, 1).addDays(17 * n);
    entry.Mileage = 1000 + 731 * n;
    entry.Cost = n * 12.25 + 0.5;
    entry.RepairNbrs = {qint32(n % 6), qint32((n * 7) % 6)};
    entry.Note = NoteFor(n);
    return entry;
}

// The series: fields, repairs, cars with values and a picture, events added
// in and out of key order, changed and deleted, a reopen in between, a car
// removed with its history, a sort order and options.
void RunCommandSeries(TvdrTestDatabase &db, const QString &pictureFile) {
    ApplyUdfChanges(
        {}, {{-1, QStringLiteral("Colour")}, {-1, QStringLiteral("Händler")}, {-1, QStringLiteral("Tyres")}});
    for (const char *text : {"Oil change", "Brakes", "Tyres", "Zündkerzen", "Wheel alignment", "Inspection"})
        SelectRepair(QString::fromUtf8(text));

    QList<qint32> cars;
    const QStringList makes = {QStringLiteral("Citroën"), QStringLiteral("Škoda"), QStringLiteral("Volvo")};
    for (int c = 0; c < 3; ++c) {
        const qint32 carNbr = Cars().NewCar();
        SaveCar(
            {carNbr,
             1995 + c,
             makes[c],
             QStringLiteral("Model %1").arg(c),
             {{0, QStringLiteral("blue %1").arg(c)}, {1, QStringLiteral("Müller & Söhne")}, {2, QString()}}});
        cars.append(carNbr);
    }
    InsertCarPicture(cars[1], pictureFile);

    int n = 0;
    for (int round = 0; round < 12; ++round)
        for (qint32 carNbr : cars)
            SaveMaintEvent(Event(carNbr, -1, n++));
    // Out of key order: numbers below the last, and the first car again.
    SaveMaintEvent(Event(cars[2], 40, n++));
    SaveMaintEvent(Event(cars[2], 20, n++));
    SaveMaintEvent(Event(cars[0], 30, n++));

    db.Reopen();

    for (int m = 0; m < 12; m += 3)
        SaveMaintEvent(Event(cars[1], m, n++)); // changes
    DeleteMaintEvent(cars[0], 5);
    DeleteMaintEvent(cars[2], 20);
    DeleteMaintEvent(cars[1], 11);
    SaveMaintEvent(Event(cars[0], -1, n++));

    RemoveCarAndHistory(cars[0]);
    const qint32 again = Cars().NewCar(); // takes the freed number
    SaveCar({again, 2011, QStringLiteral("Fiat"), QStringLiteral("Panda"), {{1, QStringLiteral("Rossi")}}});
    SaveMaintEvent(Event(again, -1, n++));

    TvdrSortOrderRec byField;
    byField.SetName(QStringLiteral("By Händler"));
    byField.SortOrderNbr = 1;
    byField.AddSortField(1, TvdrSortOrderField::UserDefined, 0);
    byField.AddSortField(TvdrSortOrderField::Make, TvdrSortOrderField::BuiltIn, 1);
    SortOrder().AddSortOrder(byField);
    SortOrder().Save();

    ApplyUdfChanges({2}, {{1, QStringLiteral("Händler")}, {0, QStringLiteral("Farbe")}});
    Options().SetValue(QStringLiteral("TfrmMain"), QStringLiteral("10\t20\t800\t600\t0"));
    Options().SetValue(QStringLiteral("TfraMaint.SortColumn"), QStringLiteral("2"));
    Options().Save();
}

class GoldenBytes : public ::testing::Test {
protected:
    void SetUp() override { TkvxSfFaults::SetFlushing(false); }
    void TearDown() override { TkvxSfFaults::SetFlushing(true); }

    // Compares, or writes the golden file when asked to.
    static void Check(const QString &fileName, const QString &golden) {
        const QByteArray bytes = ReadWholeFile(fileName);
        if (qEnvironmentVariableIsSet("VANDOR_WRITE_GOLDEN")) {
            WriteWholeFile(TestDataFile(golden), bytes);
            return;
        }
        const QByteArray expected = ReadWholeFile(TestDataFile(golden));
        ASSERT_FALSE(expected.isEmpty()) << golden.toStdString();
        ASSERT_EQ(bytes.size(), expected.size()) << golden.toStdString();
        for (qsizetype i = 0; i < bytes.size(); ++i)
            ASSERT_EQ(bytes[i], expected[i])
                << "first different byte at offset " << i << " of " << golden.toStdString();
    }
};

TEST_F(GoldenBytes, ACommandSeriesWritesTheSameFileBeforeAndAfterCompaction) {
    TvdrTestDatabase db;
    // Kept undecoded, so its bytes do not depend on an image library.
    const QString picture = db.File(QStringLiteral("car.gif"));
    WriteWholeFile(picture, SeededBytes(3000, 77));
    RunCommandSeries(db, picture);
    Check(db.FileName(), QStringLiteral("commandSeries.dat"));
    db.Db().Compact();
    Check(db.FileName(), QStringLiteral("commandSeriesCompacted.dat"));
}

} // namespace
