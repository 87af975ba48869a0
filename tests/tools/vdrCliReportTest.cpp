#include "kvxLang.h"
#include "vdrCliTestRun.h"
#include "vdrTestPdf.h"
#include "vdrTestPictures.h"
#include "vdrTestSupport.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

// Whether `lines` hold the texts in that order.
bool InOrder(const QStringList &lines, const QStringList &expected) {
    const QString text = lines.join(QLatin1Char('\n'));
    qsizetype from = 0;
    for (const QString &part : expected) {
        from = text.indexOf(part, from);
        if (from < 0)
            return false;
        from += part.size();
    }
    return true;
}

// Two cars, one with a picture and three events; the texts of the built
// language file, which an earlier lang-text may have replaced.
QString MakeDatabase(const TvdrTempFolder &folder) {
    Lang().LoadFromFile(QStringLiteral(VANDOR_BIN_DIR "/vdrLang.dat"));
    const QString db = folder.File(QStringLiteral("Vandor.dat"));
    const QString picture = folder.File(QStringLiteral("front.jpg"));
    WriteWholeFile(picture, MakeJpeg(64, 48));
    RunOk({"car-add", db, "--year", "2004", "--make", "Ford", "--model", "Taurus"});
    RunOk({"car-add", db, "--year", "1998", "--make", "VW", "--model", "Golf"});
    RunOk({"picture-set", db, "0", picture});
    RunOk({"event-add", db, "0", "--date", "2004-03-15", "--mileage", "12000", "--cost", "45.5", "--repair",
           "Oil change", "--repair", "Brakes", "--note", "first line\nsecond line"});
    RunOk({"event-add", db, "0", "--date", "2004-06-01", "--mileage", "15000", "--cost", "1234", "--repair",
           "Wipers"});
    RunOk({"event-add", db, "0", "--date", "2005-01-10", "--mileage", "21000", "--cost", "10"});
    return db;
}

} // namespace

TEST(CliReport, WritesEveryKindOfReportFromADatabaseItOnlyReads) {
    TvdrTempFolder folder;
    const QString db = MakeDatabase(folder);
    const QByteArray before = ReadWholeFile(db);

    const QString maint = folder.File(QStringLiteral("maint.pdf"));
    EXPECT_EQ(
        RunOk({"report", db, "maint", "0", maint, "--sort", "mileage", "--desc", "--filter", "cost:40:2000"}),
        "");
    const QStringList maintLines = PdfLines(maint);
    EXPECT_TRUE(InOrder(maintLines,
                        {"Maintenance history", "2004 Ford Taurus", "Mileage", "15,000", "Wipers", "12,000",
                         "Brakes", "Oil change", "first line", "second line", "Total cost", "1,279.50"}))
        << maintLines.join(QLatin1Char('\n')).toStdString();
    EXPECT_FALSE(maintLines.join(QString()).contains(QStringLiteral("21,000"))) << "filtered out";

    const QString car = folder.File(QStringLiteral("car.pdf"));
    RunOk({"report", db, "car", "1", car});
    EXPECT_TRUE(InOrder(PdfLines(car), {"Car details", "1998 VW Golf"}));

    const QString picture = folder.File(QStringLiteral("picture.pdf"));
    RunOk({"report", db, "picture", "0", picture});
    EXPECT_TRUE(InOrder(PdfLines(picture), {"Car picture", "2004 Ford Taurus"}));
    EXPECT_EQ(PdfImageCount(picture), 1);
    EXPECT_EQ(PdfInfo(picture, QStringLiteral("Page size")), QStringLiteral("792 x 612 pts (letter)"));

    const QString repairs = folder.File(QStringLiteral("repairs.pdf"));
    RunOk({"report", db, "repairs", repairs, "--desc"});
    EXPECT_TRUE(InOrder(PdfLines(repairs), {"Repair descriptions", "Wipers", "Oil change", "Brakes"}));
    RunOk({"report", db, "repairs", repairs});
    EXPECT_TRUE(InOrder(PdfLines(repairs), {"Repair descriptions", "Brakes", "Oil change", "Wipers"}));

    EXPECT_EQ(ReadWholeFile(db), before) << "the database was only read";
}

TEST(CliReport, WrongArgumentsUnknownCarsAndUnwritableFilesLeaveNoReport) {
    TvdrTempFolder folder;
    const QString db = MakeDatabase(folder);
    const QString out = folder.File(QStringLiteral("out.pdf"));
    const QList<QPair<QStringList, int>> failing = {
        {{"report", db, "repairs"}, 2},
        {{"report", db, "trips", "0", out}, 2},
        {{"report", db, "maint", "0"}, 2},
        {{"report", db, "maint", "0", out, "--sort", "colour"}, 2},
        {{"report", db, "car", "0", out, "--desc"}, 2},
        {{"report", db, "maint", "7", out}, 1},
        {{"report", db, "picture", "x", out}, 1},
        {{"report", folder.File(QStringLiteral("missing.dat")), "repairs", out}, 1},
        {{"report", db, "car", "0", folder.File(QStringLiteral("no/such/folder/out.pdf"))}, 1},
    };
    for (const auto &[args, code] : failing) {
        const TvdrCliResult r = RunCli(args);
        EXPECT_EQ(r.code, code) << args.join(QLatin1Char(' ')).toStdString() << ": " << r.err;
        EXPECT_FALSE(r.err.empty());
        EXPECT_FALSE(QFile::exists(out)) << args.join(QLatin1Char(' ')).toStdString();
    }
    EXPECT_NE(RunCli({"report", db, "car", "0", folder.File(QStringLiteral("no/such/folder/out.pdf"))})
                  .err.find("cannot be written"),
              std::string::npos);
}
