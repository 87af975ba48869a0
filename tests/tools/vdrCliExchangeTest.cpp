#include "vdrCliTestRun.h"
#include "vdrTestPictures.h"
#include "vdrTestSupport.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>

TEST(CliExchange, BothFileKindsCarryADatabaseIntoAnother) {
    TvdrTempFolder folder;
    const QString source = folder.File(QStringLiteral("source.dat"));
    const QString xml = folder.File(QStringLiteral("xml"));
    const QString tsv = folder.File(QStringLiteral("tsv"));
    QDir().mkpath(xml);
    QDir().mkpath(tsv);
    RunOk({"car-add", source, "--year", "2004", "--make", "Ford", "--model", "Taurus"});
    RunOk({"event-add", source, "0", "--date", "2004-01-05", "--cost", "80.5", "--repair", "Oil", "--note",
           "a\\nb"});
    RunOk({"export-xml", source, xml});
    RunOk({"export-tsv", source, tsv});
    EXPECT_TRUE(QFile::exists(xml + QStringLiteral("/VandorDB.xml")));
    EXPECT_TRUE(QFile::exists(tsv + QStringLiteral("/SortOrder.tsv")));

    const QString target = folder.File(QStringLiteral("target.dat"));
    RunOk({"import-xml", target, xml + QStringLiteral("/VandorDB.xml")});
    RunOk({"import-tsv", target, tsv + QStringLiteral("/Cars.tsv")});
    EXPECT_EQ(RunOk({"cars", target}), "0\t2004\tFord\tTaurus\t\n1\t2004\tFord\tTaurus\t\n");
    const std::string events = "0\t2004-01-05\t0\t80.50\tOil\ta\\nb\nTotal\t80.50\n";
    EXPECT_EQ(RunOk({"events", target, "1"}), events);
    EXPECT_EQ(RunOk({"events", source, "0"}), events);
    EXPECT_EQ(RunOk({"repairs", target}), "0\tOil\n") << "the description is found, not doubled";
    EXPECT_EQ(RunOk({"sort-orders", target}), RunOk({"sort-orders", source}));
}

TEST(CliExchange, BadFilesAndFoldersGiveErrorsThatNameThemAndChangeNothing) {
    TvdrTempFolder folder;
    const QString db = folder.File(QStringLiteral("Vandor.dat"));
    RunOk({"car-add", db});
    const QByteArray before = ReadWholeFile(db);
    const std::string at = folder.Path().toStdString() + "/";

    const QString broken = folder.File(QStringLiteral("broken.xml"));
    WriteWholeFile(broken, "<Vandor_Database><Cars><CarsRow></Cars>");
    const QString other = folder.File(QStringLiteral("other.xml"));
    WriteWholeFile(other, "<Cars><CarsRow/></Cars>");
    const QString fifo = folder.File(QStringLiteral("pipe.xml"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    QDir().mkdir(folder.File(QStringLiteral("set")));
    WriteWholeFile(folder.File(QStringLiteral("set/Cars.tsv")), "CarNbr\tYear\r\n0\t2004\r\n");
    WriteWholeFile(folder.File(QStringLiteral("set/Maint.tsv")), "h\r\n0\t0\t2004-02-30\t0\t0\r\n");
    const std::pair<QStringList, std::string> refused[] = {
        {{"import-xml", db, broken},
         "vandor-cli import-xml: " + at +
             "broken.xml: not a well-formed XML document: Start-end tags mismatch (offset "
             "34, line 1)\n"},
        {{"import-xml", db, other},
         "vandor-cli import-xml: " + at +
             "other.xml: the document element is <Cars>, not <Vandor_Database>: this is "
             "not an exported Vandor database\n"},
        {{"import-xml", db, fifo},
         "vandor-cli import-xml: " + at +
             "pipe.xml is not a regular file: pipes, devices and sockets are not read\n"},
        {{"import-xml", db, folder.Path()},
         "vandor-cli import-xml: " + folder.Path().toStdString() + " is a folder, not a file\n"},
        {{"import-tsv", db, folder.File(QStringLiteral("Cars.tsv"))},
         "vandor-cli import-tsv: " + at + "Cars.tsv does not exist\n"},
        {{"import-tsv", db, folder.File(QStringLiteral("set"))},
         "vandor-cli import-tsv: " + at + "set is a folder, not a file\n"},
        {{"import-tsv", db, folder.File(QStringLiteral("set/Cars.tsv"))},
         "vandor-cli import-tsv: " + at + "set/UDF.tsv does not exist\n"},
    };
    for (const auto &[args, message] : refused) {
        const TvdrCliResult r = RunCli(args);
        EXPECT_EQ(r.code, 1) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(r.err, message);
    }
    EXPECT_EQ(ReadWholeFile(db), before);

    // An invalid date is refused alike in both file kinds.
    for (const char *name :
         {"UDF.tsv", "CarsUDF.tsv", "Repairs.tsv", "MaintRepairs.tsv", "MaintNotes.tsv", "SortOrder.tsv"})
        WriteWholeFile(folder.File(QStringLiteral("set/") + QLatin1String(name)), "h\r\n");
    TvdrCliResult r = RunCli({"import-tsv", db, folder.File(QStringLiteral("set/Cars.tsv"))});
    EXPECT_EQ(r.err, "vandor-cli import-tsv: " + at +
                         "set/Maint.tsv: \"2004-02-30\" is not a valid date (Date of row 0, line 2)\n");
    WriteWholeFile(
        folder.File(QStringLiteral("bad-date.xml")),
        "<Vandor_Database><Cars><CarsRow><CarNbr>0</CarNbr><Year>2004</Year></CarsRow></Cars><Maint>"
        "<MaintRow><CarNbr>0</CarNbr><MaintNbr>0</MaintNbr><Date>2004-02-30</Date><Mileage>0</Mileage>"
        "<Cost>0</Cost></MaintRow></Maint></Vandor_Database>");
    r = RunCli({"import-xml", db, folder.File(QStringLiteral("bad-date.xml"))});
    EXPECT_EQ(r.err, "vandor-cli import-xml: " + at +
                         "bad-date.xml: \"2004-02-30\" is not a valid date (Date of MaintRow 0, line 1)\n");
    EXPECT_EQ(ReadWholeFile(db), before);

    // A folder that is not there is made; a file in its place is named.
    RunOk({"export-xml", db, folder.File(QStringLiteral("made/here"))});
    EXPECT_TRUE(QFile::exists(folder.File(QStringLiteral("made/here/VandorDB.xml"))));
    r = RunCli({"export-xml", db, broken});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err, "vandor-cli export-xml: " + at + "broken.xml is not a folder\n");
    EXPECT_EQ(RunCli({"export-tsv", db}).code, 2);
}

TEST(CliExchange, AnExportLeavingOutAPictureNamesItAndExitsOne) {
    TvdrTempFolder folder;
    const QString db = folder.File(QStringLiteral("Vandor.dat"));
    const QString jpeg = folder.File(QStringLiteral("car.jpg"));
    WriteWholeFile(jpeg, MakeJpeg(4, 3));
    RunOk({"car-add", db, "--year", "2004", "--make", "Ford", "--model", "Ka"});
    RunOk({"car-add", db, "--year", "2005", "--make", "Fiat", "--model", "Uno"});
    RunOk({"picture-set", db, "0", jpeg});
    RunOk({"picture-set", db, "1", jpeg});
    // Stored behind the checks' back, as an old version of the program did.
    RunCli({"put", db, "CarPic000000000", "-"}, "not a picture");

    const QString out = folder.File(QStringLiteral("out"));
    const TvdrCliResult r = RunCli({"export-tsv", db, out});
    EXPECT_EQ(r.code, 1);
    EXPECT_EQ(r.err,
              "the picture of car 0 (2004 Ford Ka) was not exported: CarPic000000000.jpg is not a valid JPEG "
              "picture: Not a JPEG file: starts with 0x6e 0x6f\n"
              "vandor-cli export-tsv: 1 picture was not exported\n");
    EXPECT_TRUE(QFile::exists(out + QStringLiteral("/SortOrder.tsv")));
    EXPECT_FALSE(QFile::exists(out + QStringLiteral("/CarPic000000000.jpg")));
    EXPECT_EQ(ReadWholeFile(out + QStringLiteral("/CarPic000000001.jpg")), MakeJpeg(4, 3));
}
