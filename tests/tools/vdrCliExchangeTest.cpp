#include "vdrCliTestRun.h"
#include "vdrTestSupport.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

TEST(CliExchange, BothFileKindsCarryADatabaseIntoAnother) {
    TvdrTempFolder folder;
    const QString source = folder.File(QStringLiteral("source.dat"));
    const QString xml = folder.File(QStringLiteral("xml"));
    const QString tsv = folder.File(QStringLiteral("tsv"));
    QDir().mkpath(xml);
    QDir().mkpath(tsv);
    RunOk({"car-add", source, "--year", "2004", "--make", "Ford", "--model", "Taurus"});
    RunOk({"event-add", source, "0", "--date", "2004-01-05", "--cost", "80.5", "--repair", "Oil", "--note", "a\\nb"});
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

TEST(CliExchange, BadFilesAndFoldersGiveErrorsThatNameThem) {
    TvdrTempFolder folder;
    const QString db = folder.File(QStringLiteral("Vandor.dat"));
    RunOk({"car-add", db});
    const QByteArray before = ReadWholeFile(db);

    const QString broken = folder.File(QStringLiteral("broken.xml"));
    WriteWholeFile(broken, "<Vandor_Database><Cars><CarsRow></Cars>");
    TvdrCliResult r = RunCli({"import-xml", db, broken});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("broken.xml"), std::string::npos) << r.err;

    r = RunCli({"import-tsv", db, folder.File(QStringLiteral("Cars.tsv"))});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("Cars.tsv"), std::string::npos) << r.err;
    EXPECT_EQ(ReadWholeFile(db), before);

    r = RunCli({"export-xml", db, folder.File(QStringLiteral("nowhere"))});
    EXPECT_EQ(r.code, 1);
    EXPECT_NE(r.err.find("nowhere"), std::string::npos) << r.err;
    EXPECT_EQ(RunCli({"export-tsv", db}).code, 2);
}
