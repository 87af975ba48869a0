#include "vdrCliTestRun.h"
#include "vdrTestDatabase.h"
#include "vdrTestPictures.h"
#include "vdrTestSupport.h"

#include <QFile>
#include <gtest/gtest.h>

TEST(CliStorage, PutCatStreamsRemoveAndCompact) {
    TvdrTempFolder folder;
    const QString db = folder.File(QStringLiteral("new/Vandor.dat"));
    const QString file = folder.File(QStringLiteral("rows.txt"));
    const QByteArray binary("a\0b\r\n\xFF", 6);
    WriteWholeFile(file, binary);

    EXPECT_EQ(RunCli({QStringLiteral("put"), db, QStringLiteral("TvdrCars"), file}).code, 0);
    EXPECT_EQ(
        RunCli({QStringLiteral("put"), db, QStringLiteral("Notes"), QStringLiteral("-")}, "from stdin").code,
        0);
    const TvdrCliResult cat = RunCli({QStringLiteral("cat"), db, QStringLiteral("tvdrcars")});
    EXPECT_EQ(cat.code, 0);
    EXPECT_EQ(cat.out, std::string(binary.constData(), 6));
    EXPECT_EQ(RunCli({QStringLiteral("cat"), db, QStringLiteral("Notes")}).out, "from stdin");

    EXPECT_EQ(RunCli({QStringLiteral("rm"), db, QStringLiteral("TvdrCars")}).code, 0);
    const TvdrCliResult listed = RunCli({QStringLiteral("streams"), db});
    EXPECT_EQ(listed.code, 0);
    EXPECT_EQ(listed.out.substr(0, 2), "4\t");
    EXPECT_NE(listed.out.find("\t1\t0\t\n"), std::string::npos) << listed.out;
    EXPECT_NE(listed.out.find("\t0\t0\tNotes\n"), std::string::npos) << listed.out;

    EXPECT_EQ(RunCli({QStringLiteral("compact"), db}).code, 0);
    EXPECT_EQ(RunCli({QStringLiteral("streams"), db}).out.substr(0, 2), "4\t");
    EXPECT_EQ(RunCli({QStringLiteral("streams"), db}).out.find("\t1\t"), std::string::npos);
}

TEST(CliStorage, ErrorsAndWrongArgumentsChangeNothing) {
    TvdrTempFolder folder;
    const QString db = folder.File(QStringLiteral("Vandor.dat"));

    const TvdrCliResult missing = RunCli({QStringLiteral("cat"), db, QStringLiteral("A")});
    EXPECT_EQ(missing.code, 1);
    EXPECT_NE(missing.err.find("can not create file in readonly mode"), std::string::npos);

    // A missing input file must not leave a new database behind.
    EXPECT_EQ(
        RunCli({QStringLiteral("put"), db, QStringLiteral("A"), folder.File(QStringLiteral("nope"))}).code,
        1);
    EXPECT_EQ(RunCli({QStringLiteral("rm"), db, QStringLiteral("A")}).code, 1);
    EXPECT_EQ(RunCli({QStringLiteral("compact"), db}).code, 1);
    EXPECT_FALSE(QFile::exists(db));

    RunCli({QStringLiteral("put"), db, QStringLiteral("A"), QStringLiteral("-")}, "x");
    const TvdrCliResult unknownId = RunCli({QStringLiteral("cat"), db, QStringLiteral("B")});
    EXPECT_EQ(unknownId.code, 1);
    EXPECT_NE(unknownId.err.find("Id (B) does not exist"), std::string::npos);

    // A blank Id, one the table of contents cannot hold, a missing one to
    // remove: each says so, and nothing is written.
    const QByteArray sound = ReadWholeFile(db);
    const QString other = folder.File(QStringLiteral("Other.dat"));
    const std::pair<QStringList, std::string> refused[] = {
        {{"put", other, " ", "-"}, "vandor-cli put: the stream Id is blank\n"},
        {{"put", other, QString::fromUtf8("Фото"), "-"},
         "vandor-cli put: Id (Фото) holds \"Ф\", which code page 1252 cannot hold\n"},
        {{"put", other,
          QStringLiteral("a\x01"
                         "b"),
          "-"},
         "vandor-cli put: Id (a\x01"
         "b) holds the byte 0x01, which separates the table of contents\n"},
        {{"put", db, QString::fromUtf8("Фото"), "-"},
         "vandor-cli put: Id (Фото) holds \"Ф\", which code page 1252 cannot hold\n"},
        {{"rm", db, "B"}, "vandor-cli rm: Id (B) does not exist\n"},
        {{"rm", db, ""}, "vandor-cli rm: the stream Id is blank\n"},
    };
    for (const auto &[args, message] : refused) {
        const TvdrCliResult r = RunCli(args, "x");
        EXPECT_EQ(r.code, 1) << args.join(QLatin1Char(' ')).toStdString();
        EXPECT_EQ(r.err, message);
    }
    EXPECT_FALSE(QFile::exists(other));
    EXPECT_EQ(ReadWholeFile(db), sound);

    EXPECT_EQ(RunCli({}).code, 2);
    EXPECT_EQ(RunCli({QStringLiteral("frobnicate")}).code, 2);
    const TvdrCliResult wrong = RunCli({QStringLiteral("cat"), db});
    EXPECT_EQ(wrong.code, 2);
    EXPECT_NE(wrong.err.find("usage: vandor-cli cat DB ID"), std::string::npos);
}

TEST(CliStorage, CheckReportsBadRowsOrphanPicturesDamagedBlocksAndBrokenFiles) {
    TvdrTempFolder folder;
    const QString db = folder.File(QStringLiteral("Vandor.dat"));
    const QString jpeg = folder.File(QStringLiteral("car.jpg"));
    WriteWholeFile(jpeg, MakeJpeg(8, 8));
    RunOk({QStringLiteral("car-add"), db, QStringLiteral("--year"), QStringLiteral("2004"),
           QStringLiteral("--make"), QStringLiteral("Ford")});
    RunOk({QStringLiteral("event-add"), db, QStringLiteral("0"), QStringLiteral("--date"),
           QStringLiteral("2004-03-15"), QStringLiteral("--cost"), QStringLiteral("45.50"),
           QStringLiteral("--repair"), QStringLiteral("Oil change"), QStringLiteral("--note"),
           QStringLiteral("first line")});
    RunOk({QStringLiteral("picture-set"), db, QStringLiteral("0"), jpeg});
    const TvdrCliResult sound = RunCli({QStringLiteral("check"), db});
    EXPECT_EQ(sound.code, 0) << sound.out << sound.err;
    EXPECT_EQ(sound.out.rfind("ok", 0), 0u) << sound.out;

    RunCli({QStringLiteral("put"), db, QStringLiteral("TvdrMaintRepairs"), QStringLiteral("-")},
           "0000000\t0000000\t0000000\r\n0000000\t0000000\r\n");
    RunCli({QStringLiteral("put"), db, QStringLiteral("CarPic000000005"), QStringLiteral("-")}, "BM");
    const TvdrCliResult rows = RunCli({QStringLiteral("check"), db});
    EXPECT_EQ(rows.code, 1);
    EXPECT_EQ(rows.out,
              "CarPic000000005: the picture of car 5, which has no row in TvdrCars\n"
              "TvdrMaintRepairs line 2: the row is not three record numbers (car, event, repair)\n");
    EXPECT_EQ(rows.err, "vandor-cli check: 2 problems found\n");

    DamageBlock(db, QStringLiteral("TvdrCars"));
    const QByteArray before = ReadWholeFile(db);
    const TvdrCliResult damaged = RunCli({QStringLiteral("check"), db});
    EXPECT_EQ(damaged.code, 1);
    EXPECT_EQ(damaged.out,
              "TvdrCars: the stream does not inflate (damaged block: zlib error -3 (invalid code lengths "
              "set))\nTvdrMaintRepairs line 2: the row is not three record numbers (car, event, repair)\n");
    EXPECT_EQ(ReadWholeFile(db), before) << "check only reads";

    // A container that does not open is reported with the reason it gives.
    WriteWholeFile(db, before.left(2));
    const TvdrCliResult broken = RunCli({QStringLiteral("check"), db});
    EXPECT_EQ(broken.code, 1);
    EXPECT_EQ(broken.err, "vandor-cli check: " + db.toStdString() +
                              " is damaged: it is 2 bytes long, too short for a header\n");
}
