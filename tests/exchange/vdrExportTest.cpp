#include "kvxStreamFile.h"
#include "vdrCarPicture.h"
#include "vdrCars.h"
#include "vdrCmRtn.h"
#include "vdrCodePage.h"
#include "vdrDateTime.h"
#include "vdrExportTSV.h"
#include "vdrExportXML.h"
#include "vdrFormatSettings.h"
#include "vdrMaint.h"
#include "vdrMaintNotes.h"
#include "vdrPicture.h"
#include "vdrRepairs.h"
#include "vdrSortOrder.h"
#include "vdrSortOrderList.h"
#include "vdrTestDatabase.h"
#include "vdrTestPictures.h"

#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

QByteArray Lines(const QStringList &lines) {
    return (lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n")).toUtf8();
}

QString Root() {
    return QStringLiteral("<Vandor_Database xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
                          "xsi:noNamespaceSchemaLocation=\"%1\">")
        .arg(TvdrExportXML::SchemaLocation());
}

void SetCar(qint32 carNbr, const QString &value) {
    Cars().SetValue(TvdrCmRtn::FormatKey(carNbr), value);
}

} // namespace

TEST(ExportXML, AnEmptyDatabaseGivesTwentyLinesAndSevenHeaderOnlyFiles) {
    TvdrTestDatabase db;
    SortOrder().SortOrderList(); // the default sort order of every start
    const QString out = db.File(QStringLiteral("out"));
    QDir().mkpath(out);
    TvdrExportXML(out).Execute();
    EXPECT_EQ(
        ReadWholeFile(out + QStringLiteral("/VandorDB.xml")),
        Lines(
            {QStringLiteral("<?xml version=\"1.0\" encoding=\"UTF-8\" ?>"),
             Root(),
             "<Cars>",
             "</Cars>",
             "<UDF>",
             "</UDF>",
             "<CarsUDF>",
             "</CarsUDF>",
             "<Repairs>",
             "</Repairs>",
             "<Maint>",
             "</Maint>",
             "<MaintRepairs>",
             "</MaintRepairs>",
             "<MaintNotes>",
             "</MaintNotes>",
             "<SortOrder>",
             "<SortOrderRow Nbr=\"0\"><SortOrderName>Ascending</SortOrderName><SortOrderNbr>0</SortOrderNbr>"
             "<SortOrderFields>0|0|0&#9;1|0|0&#9;2|0|0</SortOrderFields></SortOrderRow>",
             "</SortOrder>",
             "</Vandor_Database>"}));

    TvdrExportTSV(out + QStringLiteral("/")).Execute();
    EXPECT_EQ(ReadWholeFile(out + QStringLiteral("/Cars.tsv")),
              "CarNbr\tYear\tMake\tModel\tPictureExtension\r\n");
    EXPECT_EQ(ReadWholeFile(out + QStringLiteral("/Maint.tsv")), "CarNbr\tMaintNbr\tDate\tMileage\tCost\r\n");
    EXPECT_EQ(ReadWholeFile(out + QStringLiteral("/SortOrder.tsv")),
              "SortOrderName\tSortOrderNbr\tSortOrderFields\r\nAscending\t0\t0|0|0T1|0|0T2|0|0\r\n");
    EXPECT_EQ(QDir(out).entryList(QDir::Files).size(), 9) << "the document and eight table files, no picture";
}

TEST(ExportXML, ValuesAreEscapedFormattedAndInTableOrder) {
    TvdrTestDatabase db;
    SetCar(3, QStringLiteral("2004\tAT&T <V8>\tRock'n'Roll"));
    SetCar(12, QString::fromUtf8("1998\tCitro\xC3\xABn\tDS\tpng"));
    for (const char *text : {"brakes", "Alternator", "clutch"})
        Repairs().AddRepair(QString::fromLatin1(text));
    Maint().StoreEvent(MakeEvent(3, 2, QDate(2004, 1, 5), 61000, 80));
    MaintNotes().AddNote(3, 2, QStringLiteral("Oil\r\nFilter"));
    TvdrSortOrderRec byMake;
    byMake.SetName(QStringLiteral("By make"));
    byMake.SortOrderNbr = 1;
    byMake.AddSortField(1, 0, 0);
    byMake.AddSortField(0, 0, 1);
    SortOrder().AddSortOrder(byMake);
    TvdrSortOrderRec empty;
    empty.SetName(QStringLiteral("None"));
    SortOrder().AddSortOrder(empty);

    TvdrExportXML xml(db.Folder());
    xml.Execute();
    const QString doc = QString::fromUtf8(ReadWholeFile(db.File(QStringLiteral("VandorDB.xml"))));
    EXPECT_TRUE(
        doc.contains(QStringLiteral("<CarsRow Nbr=\"0\"><CarNbr>3</CarNbr><Year>2004</Year>"
                                    "<Make>AT&amp;T &lt;V8&gt;</Make><Model>Rock&apos;n&apos;Roll</Model>"
                                    "<PictureExtension></PictureExtension></CarsRow>\r\n")));
    EXPECT_TRUE(doc.contains(QString::fromUtf8(
        "<CarsRow Nbr=\"1\"><CarNbr>12</CarNbr><Year>1998</Year><Make>Citro\xC3\xABn</Make>")))
        << "UTF-8 in the file";
    EXPECT_TRUE(doc.contains(
        QStringLiteral("<RepairsRow Nbr=\"0\"><RepairNbr>1</RepairNbr><Description>Alternator</Description>"
                       "</RepairsRow>\r\n<RepairsRow Nbr=\"1\"><RepairNbr>0</RepairNbr>")));
    EXPECT_TRUE(doc.contains(
        QStringLiteral("<MaintRow Nbr=\"0\"><CarNbr>3</CarNbr><MaintNbr>2</MaintNbr><Date>2004-01-05</Date>"
                       "<Mileage>61000</Mileage><Cost>80.00</Cost></MaintRow>")));
    EXPECT_TRUE(doc.contains(QStringLiteral("<Note>Oil\\nFilter</Note>")));
    EXPECT_TRUE(
        doc.contains(QStringLiteral("<SortOrderName>By make</SortOrderName><SortOrderNbr>1</SortOrderNbr>"
                                    "<SortOrderFields>1|0|0&#9;0|0|1</SortOrderFields>")));
    EXPECT_TRUE(doc.contains(QStringLiteral("<SortOrderFields></SortOrderFields>")));
    EXPECT_FALSE(QFile::exists(db.File(QStringLiteral("CarPic000000012.png")))) << "png gets no file";
    EXPECT_EQ(TvdrExportXML::XmlEscape(QStringLiteral("a\t\"&'")), QStringLiteral("a&#9;&quot;&amp;&apos;"));

    TvdrFormatSettings::SetCurrent(TvdrFormatSettings::CommaLocale());
    Maint().StoreEvent(MakeEvent(3, 3, QDate(2004, 1, 6), 5, 1234.5));
    TvdrExportTSV(db.Folder()).Execute();
    EXPECT_EQ(vdrCodePage::ToUnicode(ReadWholeFile(db.File(QStringLiteral("Cars.tsv")))),
              QString::fromUtf8(
                  "CarNbr\tYear\tMake\tModel\tPictureExtension\r\n3\t2004\tAT&T <V8>\tRock'n'Roll\t\r\n"
                  "12\t1998\tCitro\xC3\xABn\tDS\tpng\r\n"));
    EXPECT_EQ(ReadWholeFile(db.File(QStringLiteral("Maint.tsv"))),
              "CarNbr\tMaintNbr\tDate\tMileage\tCost\r\n3\t2\t2004-01-05\t61000\t80,00\r\n3\t3\t2004-01-"
              "06\t5\t1234,50\r\n");
    EXPECT_EQ(ReadWholeFile(db.File(QStringLiteral("MaintNotes.tsv"))),
              "CarNbr\tMaintNbr\tNote\r\n3\t2\tOil\\nFilter\r\n");
    EXPECT_TRUE(
        ReadWholeFile(db.File(QStringLiteral("SortOrder.tsv"))).contains("\r\nBy make\t1\t1|0|0T0|0|1\r\n"));
    EXPECT_TRUE(ReadWholeFile(db.File(QStringLiteral("SortOrder.tsv"))).contains("\r\nNone\t0\t\r\n"));
    EXPECT_EQ(ReadWholeFile(db.File(QStringLiteral("Repairs.tsv"))),
              "RepairNbr\tDescription\r\n1\tAlternator\r\n0\tbrakes\r\n2\tclutch\r\n");
}

TEST(ExportXML, PicturesAreWrittenBesideTheFiles) {
    TvdrTestDatabase db;
    const QString in = db.File(QStringLiteral("in"));
    QDir().mkpath(in);
    const QByteArray jpeg = MakeJpeg(8, 6);
    const QByteArray bitmap = MakeBitmap(5, 4);
    WriteWholeFile(in + QStringLiteral("/a.jpeg"), jpeg);
    WriteWholeFile(in + QStringLiteral("/b.BMP"), bitmap);
    for (int i = 0; i < 3; ++i)
        Cars().NewCar();
    InsertCarPicture(0, in + QStringLiteral("/a.jpeg"));
    InsertCarPicture(1, in + QStringLiteral("/b.BMP"));
    InsertCarPicture(2, in + QStringLiteral("/a.jpeg"));
    db.Db().DeleteStream(TvdrPicture::StreamIdOf(2));

    const QString out = db.File(QStringLiteral("out"));
    QDir().mkpath(out);
    TvdrExportXML(out).Execute();
    EXPECT_EQ(ReadWholeFile(out + QStringLiteral("/CarPic000000000.jpg")), jpeg) << "a jpg travels unchanged";
    const QImage written =
        QImage::fromData(ReadWholeFile(out + QStringLiteral("/CarPic000000001.bmp")), "BMP");
    EXPECT_EQ(written.size(), QSize(5, 4));
    EXPECT_EQ(written.pixel(4, 3), QImage::fromData(bitmap, "BMP").pixel(4, 3));
    EXPECT_EQ(ReadWholeFile(out + QStringLiteral("/CarPic000000002.jpg")), QByteArray())
        << "a missing stream";

    // A stored picture that does not decode is left out and named; the
    // files and the other pictures are written all the same.
    db.Db().WriteStream(TvdrPicture::StreamIdOf(1), 0, QByteArray("BM but not a bitmap"));
    db.Db().WriteStream(TvdrPicture::StreamIdOf(0), 0, QByteArray("\xFF\xD8 broken", 9));
    QFile::remove(out + QStringLiteral("/Cars.tsv"));
    QFile::remove(out + QStringLiteral("/CarPic000000002.jpg"));
    TvdrExportTSV exporter(out);
    exporter.Execute();
    EXPECT_TRUE(QFile::exists(out + QStringLiteral("/Cars.tsv")));
    EXPECT_TRUE(QFile::exists(out + QStringLiteral("/CarPic000000002.jpg")));
    ASSERT_EQ(exporter.SkippedPictures().size(), 2);
    EXPECT_EQ(exporter.SkippedPictures()[1].CarNbr, 1);
    EXPECT_EQ(exporter.SkippedPictureLines(),
              QStringList(
                  {QStringLiteral("the picture of car 0 (0  ) was not exported: CarPic000000000.jpg is not a "
                                  "valid JPEG picture: JPEG datastream contains no image"),
                   QStringLiteral("the picture of car 1 (0  ) was not exported: CarPic000000001.bmp is not a "
                                  "valid Windows bitmap: Unable to read image data")}));
}

namespace {

mode_t Umask() {
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return mask;
}

unsigned ModeOf(const QString &path) {
    struct stat st {};
    ::lstat(QFile::encodeName(path).constData(), &st);
    return st.st_mode & 07777;
}

} // namespace

TEST(Export, FilesAreOwnerOnlyAndReplacedNeverWrittenThroughALink) {
    TvdrTestDatabase db;
    Cars().NewCar();
    // A missing folder is made; folder and files are the owner's alone,
    // less what the umask takes.
    const QString out = db.File(QStringLiteral("made/here"));
    TvdrExportXML(out).Execute();
    EXPECT_EQ(ModeOf(db.File(QStringLiteral("made"))), 0700u & ~Umask());
    EXPECT_EQ(ModeOf(out), 0700u & ~Umask());
    EXPECT_EQ(ModeOf(out + QStringLiteral("/VandorDB.xml")), 0600u & ~Umask());
    const mode_t mask = ::umask(0277);
    TvdrExportTSV(out).Execute();
    ::umask(mask);
    EXPECT_EQ(ModeOf(out + QStringLiteral("/Cars.tsv")), 0400u) << "a stricter umask has its way";

    // A link planted at the document's name is replaced; the file it named
    // keeps its bytes.
    const QString victim = db.File(QStringLiteral("victim"));
    WriteWholeFile(victim, "mine");
    QFile::remove(out + QStringLiteral("/VandorDB.xml"));
    ASSERT_TRUE(QFile::link(victim, out + QStringLiteral("/VandorDB.xml")));
    TvdrExportXML(out).Execute();
    EXPECT_EQ(ReadWholeFile(victim), "mine");
    EXPECT_FALSE(QFileInfo(out + QStringLiteral("/VandorDB.xml")).isSymLink());
    EXPECT_TRUE(ReadWholeFile(out + QStringLiteral("/VandorDB.xml")).startsWith("<?xml"));

    // A write that fails says why, and the file of that name stays whole.
    const QByteArray document = ReadWholeFile(out + QStringLiteral("/VandorDB.xml"));
    for (int i = 0; i < 2000; ++i)
        SetCar(i + 1, QStringLiteral("2004\tMake %1\tModel").arg(i));
    ::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit small{4096, limit.rlim_max};
    ::setrlimit(RLIMIT_FSIZE, &small);
    const std::string error = ErrorMessageOf([&] { TvdrExportXML(out).Execute(); });
    ::setrlimit(RLIMIT_FSIZE, &limit);
    EXPECT_EQ(error, "cannot write " + out.toStdString() + "/VandorDB.xml: File too large");
    EXPECT_EQ(ReadWholeFile(out + QStringLiteral("/VandorDB.xml")), document);
    EXPECT_EQ(QDir(out).entryList(QDir::Files | QDir::Hidden).size(), 9) << "no temporary file is left";

    // A folder in the way of the export is named.
    WriteWholeFile(db.File(QStringLiteral("plain")), "x");
    EXPECT_EQ(ErrorMessageOf([&] { TvdrExportXML(db.File(QStringLiteral("plain"))).Execute(); }),
              db.File(QStringLiteral("plain")).toStdString() + " is not a folder");
}

TEST(Export, OverlongNumbersInAStoredEventAreReadAsTheTableReadsThem) {
    TvdrTestDatabase db;
    // Nine digits still go the quick way; from ten on the row is read as
    // the table reads it, whatever the count.
    Maint().SetValue(QStringLiteral("0000001\t0000002"), QStringLiteral("731655\t999999999\t1.5"));
    Maint().SetValue(QStringLiteral("0000001\t0000003"), QStringLiteral("731655\t1200000000000\t1.5"));
    Maint().SetValue(QStringLiteral("0000001\t0000004"), QStringLiteral("731655\t-99999999999999999999\t2"));
    Maint().SetValue(QStringLiteral("0000001\t00000000000000000005"), QStringLiteral("731655\t7\t3"));
    Maint().SetValue(QStringLiteral("0000001\t0000006"), QStringLiteral("7316550000000000\t8\t4"));
    vdrDateTime::SetClock([] { return QDateTime(QDate(2021, 6, 30), QTime(13, 45)); });
    TvdrExportTSV(db.Folder()).Execute();
    vdrDateTime::SetClock({});
    EXPECT_EQ(ReadWholeFile(db.File(QStringLiteral("Maint.tsv"))), "CarNbr\tMaintNbr\tDate\tMileage\tCost\r\n"
                                                                   "1\t5\t2004-03-15\t7\t3.00\r\n"
                                                                   "1\t2\t2004-03-15\t999999999\t1.50\r\n"
                                                                   "1\t3\t2004-03-15\t0\t1.50\r\n"
                                                                   "1\t4\t2004-03-15\t0\t2.00\r\n"
                                                                   "1\t6\t2021-06-30\t8\t4.00\r\n");
}
