#include "vdrCliTestRun.h"
#include "vdrTestDatabase.h"
#include "vdrTestPictures.h"
#include "vdrTestSupport.h"

#include <QFile>
#include <gtest/gtest.h>

TEST(CliRecords, CarsEventsRepairsAndPicturesOnARealDatabase) {
    TvdrTempFolder folder;
    const QString db = folder.File(QStringLiteral("Vandor.dat"));
    const QString picture = folder.File(QStringLiteral("front.Jpeg"));
    WriteWholeFile(picture, MakeJpeg(4, 3));

    EXPECT_EQ(RunOk({"car-add", db, "--year", "2004", "--make", " Ford ", "--model", "Taurus"}), "0\n");
    EXPECT_EQ(RunOk({"car-add", db}), "1\n");
    RunOk({"picture-set", db, "0", picture});
    EXPECT_EQ(RunOk({"cars", db}), "0\t2004\tFord\tTaurus\tjpg\n1\t0\t\t\t\n");

    EXPECT_EQ(RunOk({"event-add", db, "0", "--date", "2004-03-15", "--mileage", "12000", "--cost", "45.5",
                     "--repair", "Oil change", "--repair", "Brakes", "--note", "line 1\nline\t2"}),
              "0\n");
    EXPECT_EQ(RunOk({"event-add", db, "0", "--date", "2003-01-02", "--mileage", "9000", "--cost", "1234,25",
                     "--repair", "OIL CHANGE"}),
              "1\n");
    EXPECT_EQ(RunOk({"event-add", db, "1", "--date", "2005-05-05", "--repair", "Wipers"}), "0\n");
    EXPECT_EQ(RunOk({"repairs", db}), "1\tBrakes\n0\tOil change\n2\tWipers\n") << "OIL CHANGE was reused";

    EXPECT_EQ(RunOk({"events", db, "0"}),
              "1\t2003-01-02\t9000\t1234.25\tOil change\t\n"
              "0\t2004-03-15\t12000\t45.50\tBrakes; Oil change\tline 1\\nline\\t2\n"
              "Total\t1279.75\n");
    EXPECT_EQ(RunOk({"events", db, "0", "--sort", "cost", "--desc", "--filter", "repair:1"}),
              "0\t2004-03-15\t12000\t45.50\tBrakes; Oil change\tline 1\\nline\\t2\nTotal\t45.50\n");
    EXPECT_EQ(RunOk({"events", db, "0", "--filter", "mileage:9000:9000"}),
              "1\t2003-01-02\t9000\t1234.25\tOil change\t\nTotal\t1234.25\n");
    EXPECT_EQ(RunOk({"events", db, "0", "--filter", "date:2004-03-15:2004-03-15"}).substr(0, 2), "0\t");
    EXPECT_EQ(RunOk({"events", db, "0", "--filter", "cost:2000:3000"}), "Total\t0.00\n");

    RunOk({"event-remove", db, "1", "0"});
    RunOk({"repairs-prune", db});
    EXPECT_EQ(RunOk({"repairs", db}), "1\tBrakes\n0\tOil change\n");
    EXPECT_EQ(RunOk({"sort-orders", db}), "Ascending=0\t0|0|0\t1|0|0\t2|0|0\n");

    RunOk({"picture-clear", db, "0"});
    EXPECT_EQ(RunOk({"cars", db}), "0\t2004\tFord\tTaurus\t\n1\t0\t\t\t\n");
    RunOk({"picture-set", db, "1", picture});
    RunOk({"car-remove", db, "1"});
    EXPECT_EQ(RunOk({"streams", db}).find("CarPic000000001"), std::string::npos);
    EXPECT_EQ(RunOk({"car-add", db}), "1\n") << "the number is free again";
    EXPECT_EQ(RunOk({"events", db, "1"}), "Total\t0.00\n");
}

TEST(CliRecords, BadNumbersUnknownCarsAndEventsChangeNothing) {
    TvdrTempFolder folder;
    const QString db = folder.File(QStringLiteral("Vandor.dat"));
    EXPECT_EQ(RunCli({"car-add", db, "--year", "20x4"}).code, 1);
    EXPECT_FALSE(QFile::exists(db)) << "nothing was created";
    EXPECT_EQ(RunCli({"cars", db}).code, 1);

    RunOk({"car-add", db});
    RunOk({"event-add", db, "0", "--date", "2004-03-15"});
    const QByteArray before = ReadWholeFile(db);
    const QList<QStringList> failing = {
        {"car-remove", db, "7"},
        {"car-remove", db, "x"},
        {"picture-clear", db, "3"},
        {"picture-set", db, "0", folder.File(QStringLiteral("missing.bmp"))},
        {"picture-set", db, "0", QStringLiteral("/dev/zero")},
        {"event-add", db, "0", "--date", "2004-02-30"},
        {"event-add", db, "0", "--date", "2004-03-15", "--mileage", "12k"},
        {"event-add", db, "0", "--date", "2004-03-15", "--cost", "abc"},
        {"event-add", db, "0", "--date", "2004-03-15", "--repair", "New one", "--repair", " "},
        {"event-add", db, "5", "--date", "2004-03-15"},
        {"event-remove", db, "0", "4"},
        {"events", db, "9"},
        {"events", db, "0", "--filter", "mileage:1:x"},
    };
    for (const QStringList &args : failing) {
        const TvdrCliResult r = RunCli(args);
        EXPECT_NE(r.code, 0) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_FALSE(r.err.empty());
    }
    EXPECT_EQ(ReadWholeFile(db), before);
    EXPECT_EQ(RunCli({"event-add", db, "0"}).code, 2) << "--date is required";
    EXPECT_EQ(RunCli({"events", db, "0", "--sort", "colour"}).code, 2);
    EXPECT_EQ(RunCli({"events", db, "0", "--frobnicate"}).code, 2);
}

TEST(CliRecords, ACommandStopsWhenATableItReadsCannotBeRead) {
    TvdrTempFolder folder;
    const QString db = folder.File(QStringLiteral("Vandor.dat"));
    RunOk({"car-add", db, "--year", "2004", "--make", "Ford", "--model", "Taurus"});
    RunOk({"event-add", db, "0", "--date", "2004-03-15", "--repair", "Oil change"});
    DamageBlock(db, QStringLiteral("TvdrMaint"));
    const TvdrCliResult listed = RunCli({"cars", db});
    EXPECT_EQ(listed.code, 1);
    EXPECT_EQ(listed.out, "");
    EXPECT_NE(
        listed.err.find(("table TvdrMaint of " + db + " cannot be read (damaged block: ").toStdString()),
        std::string::npos)
        << listed.err;
    EXPECT_EQ(RunCli({"event-add", db, "0", "--date", "2005-01-01"}).code, 1) << "nor taken for empty";
    RunOk({"rm", db, "TvdrMaint"});
    EXPECT_EQ(RunOk({"cars", db}), "0\t2004\tFord\tTaurus\t\n") << "a missing table is an empty one";
}
