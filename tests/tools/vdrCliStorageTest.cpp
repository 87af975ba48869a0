#include "vdrCliTestRun.h"
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
    EXPECT_EQ(RunCli({QStringLiteral("put"), db, QStringLiteral("Notes"), QStringLiteral("-")}, "from stdin").code, 0);
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
    EXPECT_EQ(RunCli({QStringLiteral("put"), db, QStringLiteral("A"), folder.File(QStringLiteral("nope"))}).code, 1);
    EXPECT_EQ(RunCli({QStringLiteral("rm"), db, QStringLiteral("A")}).code, 1);
    EXPECT_EQ(RunCli({QStringLiteral("compact"), db}).code, 1);
    EXPECT_FALSE(QFile::exists(db));

    RunCli({QStringLiteral("put"), db, QStringLiteral("A"), QStringLiteral("-")}, "x");
    const TvdrCliResult unknownId = RunCli({QStringLiteral("cat"), db, QStringLiteral("B")});
    EXPECT_EQ(unknownId.code, 1);
    EXPECT_NE(unknownId.err.find("Id (B) does not exist"), std::string::npos);

    EXPECT_EQ(RunCli({}).code, 2);
    EXPECT_EQ(RunCli({QStringLiteral("frobnicate")}).code, 2);
    const TvdrCliResult wrong = RunCli({QStringLiteral("cat"), db});
    EXPECT_EQ(wrong.code, 2);
    EXPECT_NE(wrong.err.find("usage: vandor-cli cat DB ID"), std::string::npos);
}
