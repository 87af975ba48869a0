#include "vdrImportTSV.h"

#include "kvxStreamFile.h"
#include "vdrCars.h"
#include "vdrCarsUDF.h"
#include "vdrFormatSettings.h"
#include "vdrMaint.h"
#include "vdrMaintNotes.h"
#include "vdrMaintRepairs.h"
#include "vdrPicture.h"
#include "vdrRepairs.h"
#include "vdrSortOrder.h"
#include "vdrTestDatabase.h"
#include "vdrTestPictures.h"
#include "vdrUDF.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

#include <map>

namespace {

const std::map<QString, QByteArray> kHeaders = {
    {QStringLiteral("Cars.tsv"), "CarNbr\tYear\tMake\tModel\tPictureExtension"},
    {QStringLiteral("UDF.tsv"), "UdfNbr\tSortOrder\tName"},
    {QStringLiteral("CarsUDF.tsv"), "CarNbr\tUdfNbr\tValue"},
    {QStringLiteral("Repairs.tsv"), "RepairNbr\tDescription"},
    {QStringLiteral("Maint.tsv"), "CarNbr\tMaintNbr\tDate\tMileage\tCost"},
    {QStringLiteral("MaintRepairs.tsv"), "CarNbr\tMaintNbr\tRepairNbr"},
    {QStringLiteral("MaintNotes.tsv"), "CarNbr\tMaintNbr\tNote"},
    {QStringLiteral("SortOrder.tsv"), "SortOrderName\tSortOrderNbr\tSortOrderFields"},
};

// The eight files as the export writes them: header, then `rows` as given
// (each already ending in its line break).
void WriteSet(const TvdrTestDatabase &db, const std::map<QString, QByteArray> &rows = {}) {
    for (const auto &[name, header] : kHeaders) {
        const auto it = rows.find(name);
        WriteWholeFile(db.File(name), header + "\r\n" + (it == rows.end() ? QByteArray() : it->second));
    }
}

void Import(const TvdrTestDatabase &db) {
    TvdrImportTSV(db.Folder()).Execute();
}

QStringList RowsOf(const TvdrTestDatabase &db, const QByteArray &bytes) {
    WriteWholeFile(db.File(QStringLiteral("Lines.tsv")), bytes);
    QStringList rows;
    TvdrImportTSV(db.Folder() + QLatin1Char('/'))
        .ReadFile(QStringLiteral("Lines.tsv"), [&](const QString &line, int lineNumber) {
            rows << QStringLiteral("%1:").arg(lineNumber) + line;
        });
    return rows;
}

QByteArray PictureOf(TvdrTestDatabase &db, qint32 carNbr) {
    TvdrPicture picture(carNbr);
    picture.SetStreamFile(&db.Db());
    picture.Load();
    return picture.data();
}

const std::map<QString, QByteArray> kFleet = {
    {QStringLiteral("Cars.tsv"),
     "7\t2004\tFord\tTaurus\t\r\n3\t1998\tOpel\tAstra\t\r\n12\t2010\tFiat\tPanda\t\r\n"},
    {QStringLiteral("UDF.tsv"), "4\t0\tColor\r\n"},
    {QStringLiteral("CarsUDF.tsv"), "3\t4\tRed\r\n"},
    {QStringLiteral("Repairs.tsv"), "9\tOil change\r\n"},
    {QStringLiteral("Maint.tsv"), "3\t5\t2004-01-05\t61000\t80.00\r\n"},
    {QStringLiteral("MaintRepairs.tsv"), "3\t5\t9\r\n"},
    {QStringLiteral("MaintNotes.tsv"), "3\t5\tOil\\nFilter\r\n"},
    {QStringLiteral("SortOrder.tsv"), "By make\t1\t1|0|0T0|0|1\r\nBy color\t2\t4|1|0t0|0|0\r\nName\t3\t\r\n"},
};

} // namespace

TEST(ImportTSV, HeaderLinesOnlyImportNothingAndSaveEveryTable) {
    TvdrTestDatabase db;
    // Unsaved changes, which only the import's saves put on disk.
    Repairs().AddRepair(QStringLiteral("Brakes"));
    UDF().AddUdf(0, QStringLiteral("Color"));
    SortOrder().Add(QStringLiteral("Mine=4"));
    WriteSet(db);
    Import(db);
    db.Reopen();
    EXPECT_EQ(Cars().Count(), 0);
    EXPECT_EQ(Maint().Count(), 0);
    EXPECT_EQ(Repairs().FindRepair(QStringLiteral("Brakes")), 0);
    EXPECT_EQ(UDF().FindUdf(QStringLiteral("Color")), 0);
    EXPECT_NE(SortOrder().FindSortOrder(QStringLiteral("Mine")), nullptr);
}

TEST(ImportTSV, CarsGetNewNumbersAndImportingTwiceDoublesOnlyThem) {
    TvdrTestDatabase db;
    WriteSet(db, kFleet);
    Import(db);
    Import(db);
    db.Reopen();

    ASSERT_EQ(Cars().Count(), 6);
    EXPECT_EQ(Cars().CarDescription(0), QStringLiteral("2004 Ford Taurus"));
    EXPECT_EQ(Cars().CarDescription(1), QStringLiteral("1998 Opel Astra"));
    EXPECT_EQ(Cars().CarDescription(5), QStringLiteral("2010 Fiat Panda"));
    EXPECT_EQ(UDF().Count(), 1);
    EXPECT_EQ(Repairs().Count(), 1);
    for (const qint32 astra : {1, 4}) {
        EXPECT_EQ(CarsUDF().CarValue(astra, 0), QStringLiteral("Red"));
        TvdrMaintRec *event = Maint().FindEvent(astra, 5);
        ASSERT_NE(event, nullptr) << astra;
        EXPECT_EQ(event->GetDate(), QDate(2004, 1, 5));
        EXPECT_EQ(event->Mileage, 61000);
        EXPECT_EQ(event->Cost, 80.0);
        EXPECT_TRUE(MaintRepairs().HasRepair(astra, 5, 0));
        EXPECT_EQ(MaintNotes().StoredNote(astra, 5), QStringLiteral("Oil\\nFilter"));
    }
    EXPECT_EQ(Maint().Count(), 2);

    // Each sort order once; the user field 4 of the file is field 0 here.
    QStringList rows;
    for (int i = 0; i < SortOrder().Count(); ++i)
        rows << SortOrder().Get(i);
    EXPECT_EQ(rows.size(), 3);
    EXPECT_TRUE(rows.contains(QStringLiteral("By make=1\t1|0|0\t0|0|1")));
    EXPECT_TRUE(rows.contains(QStringLiteral("By color=2\t0|1|0\t0|0|0")));
    EXPECT_TRUE(rows.contains(QStringLiteral("Name=3")));
}

TEST(ImportTSV, ValuesConvertAsInXmlAndOneThatDoesNotChangesNothing) {
    TvdrTestDatabase db;
    // Blanks around numbers, a date-time's day, either decimal separator,
    // costs rounded to four decimals; an empty middle column stays empty
    // and the columns after it keep their places.
    WriteSet(db, {{QStringLiteral("Cars.tsv"), "0\t 1998 \t\tAstra\t\r\n"},
                  {QStringLiteral("UDF.tsv"), "3\t0\tColour\r\n"},
                  {QStringLiteral("CarsUDF.tsv"), "0\t3\t\r\n"},
                  {QStringLiteral("Maint.tsv"), "0\t1\t2004-01-05\t61000\t80,00\r\n"
                                                "0\t+2\t2004-01-06T23:30:00+05:00\t 7 \t1.23456\r\n"}});
    Import(db);
    EXPECT_EQ(Cars().Get(0), QStringLiteral("0000000=1998\t\tAstra"));
    EXPECT_EQ(CarsUDF().Get(0), QStringLiteral("0000000\t0000000\t"));
    const TvdrMaintRec first = Maint().FindEvent(0, 1)->Clone();
    EXPECT_EQ(first.Encode(), MakeEvent(0, 1, QDate(2004, 1, 5), 61000, 80).Encode());
    const TvdrMaintRec second = Maint().FindEvent(0, 2)->Clone();
    EXPECT_EQ(second.Encode(), MakeEvent(0, 2, QDate(2004, 1, 6), 7, 1.2346).Encode());

    // The XML import refuses these too, with the same words.
    const QString before = Cars().Text() + Maint().Text();
    const QString maint = db.File(QStringLiteral("Maint.tsv")) + QStringLiteral(": ");
    const std::pair<QByteArray, QString> refused[] = {
        {"0\t3\t2004/01/05\t1\t1\r\n", "\"2004/01/05\" is not a valid date (Date of row 0, line 2)"},
        {"0\t3\t05.01.2004\t1\t1\r\n", "\"05.01.2004\" is not a valid date (Date of row 0, line 2)"},
        {"0\t3\t2004-01-05\t1\t1\r\n0\t3\t2004-02-30\t1\t1\r\n",
         "\"2004-02-30\" is not a valid date (Date of row 1, line 3)"},
        {"0\t3\t\t1\t1\r\n", "the value is empty; it must be a valid date (Date of row 0, line 2)"},
        {"0\t3\t2004-01-05\t61,000\t1\r\n", "\"61,000\" is not a valid integer (Mileage of row 0, line 2)"},
        {"0\t3\t2004-01-05\t1\tabc\r\n", "\"abc\" is not a valid amount (Cost of row 0, line 2)"},
        {"0\tx\t2004-1-5\r\n", "\"x\" is not a valid integer (MaintNbr of row 0, line 2)"},
        {"0\t3\t2004-01-05\r\n",
         "the value is missing; it must be a valid integer (Mileage of row 0, line 2)"},
    };
    for (const auto &[rows, problem] : refused) {
        WriteSet(db, {{QStringLiteral("Cars.tsv"), "0\t2004\tFord\tKa\t\r\n"},
                      {QStringLiteral("Maint.tsv"), rows}});
        EXPECT_EQ(ErrorMessageOf([&] { Import(db); }), (maint + problem).toStdString());
    }
    WriteSet(db, {{QStringLiteral("Cars.tsv"), "0\t19x8\tFord\tKa\t\r\n"}});
    EXPECT_EQ(ErrorMessageOf([&] { Import(db); }),
              (db.File(QStringLiteral("Cars.tsv")) +
               QStringLiteral(": \"19x8\" is not a valid integer (Year of row 0, "
                              "line 2)"))
                  .toStdString());
    EXPECT_EQ(Cars().Text() + Maint().Text(), before);

    // A file written where the comma separates decimals, read where the
    // point does, and the other way round.
    for (const TvdrFormatSettings &formats :
         {TvdrFormatSettings::PointLocale(), TvdrFormatSettings::CommaLocale()}) {
        TvdrTestDatabase other;
        TvdrFormatSettings::SetCurrent(formats);
        WriteSet(other, {{QStringLiteral("Cars.tsv"), "0\t2004\tFord\tTaurus\t\r\n"},
                         {QStringLiteral("Maint.tsv"), "0\t2\t2004-01-05\t61000\t80.00\r\n"
                                                       "0\t3\t2004-01-05\t61000\t80,50\r\n"}});
        Import(other);
        other.Reopen();
        EXPECT_EQ(Maint().FindEvent(0, 2)->Cost, 80.0);
        EXPECT_EQ(Maint().FindEvent(0, 3)->Cost, 80.5);
    }
}

TEST(ImportTSV, AMissingFileOrPictureChangesNothing) {
    TvdrTestDatabase db;
    WriteSet(db, kFleet);
    QFile::remove(db.File(QStringLiteral("Repairs.tsv")));
    EXPECT_EQ(ErrorMessageOf([&] { Import(db); }),
              db.File(QStringLiteral("Repairs.tsv")).toStdString() + " does not exist");
    QDir().mkdir(db.File(QStringLiteral("Repairs.tsv")));
    EXPECT_EQ(ErrorMessageOf([&] { Import(db); }),
              db.File(QStringLiteral("Repairs.tsv")).toStdString() + " is a folder, not a file");
    db.Reopen();
    EXPECT_EQ(Cars().Count(), 0);
    EXPECT_EQ(UDF().Count(), 0);

    // A missing picture takes every table with it.
    TvdrTestDatabase pictures;
    WriteSet(pictures,
             {{QStringLiteral("Cars.tsv"), "7\t2004\tFord\tTaurus\tjpg\r\n3\t1998\tOpel\tAstra\tjpg\r\n"},
              {QStringLiteral("SortOrder.tsv"), "By make\t1\t1|0|0\r\n"}});
    WriteWholeFile(pictures.File(QStringLiteral("CarPic000000007.jpg")), MakeJpeg(4, 3));
    EXPECT_EQ(ErrorMessageOf([&] { Import(pictures); }),
              pictures.File(QStringLiteral("CarPic000000003.jpg")).toStdString() + " does not exist");
    pictures.Reopen();
    EXPECT_EQ(Cars().Count(), 0);
    EXPECT_EQ(SortOrder().FindSortOrder(QStringLiteral("By make")), nullptr);
    EXPECT_FALSE(pictures.Db().Toc().Exists(TvdrPicture::StreamIdOf(0)));
}

TEST(ImportTSV, LinesEndAtLineFeedsAndBlankLinesAreSkipped) {
    TvdrTestDatabase db;
    EXPECT_EQ(RowsOf(db, "head\r\nA\tb\r\n\r\n \t \r\nB\nC\rD\n\r\n\nE"),
              QStringList({"2:A\tb", "5:B", "6:CD", "9:E"}));
    EXPECT_EQ(RowsOf(db, "head\nA\r\n"), QStringList({"2:A"}));
    EXPECT_EQ(RowsOf(db, "head"), QStringList());
    EXPECT_EQ(RowsOf(db, ""), QStringList());
    // Windows 1252: the euro sign sits at 0x80, not at U+0080.
    EXPECT_EQ(RowsOf(db, "h\r\nCitro\xEBn\t\x80 5\r\n"), QStringList({QString::fromUtf8("2:Citroën\t€ 5")}));
    // A line as long as a row may be is read; a longer one is refused before
    // it is read whole.
    const QByteArray longest(1048576, 'x');
    EXPECT_EQ(RowsOf(db, "h\r\n" + longest + "\r\n").value(0).size(), 1048576 + 2);
    EXPECT_EQ(ErrorMessageOf([&] { RowsOf(db, "h\r\n" + longest + "x\r\n"); }),
              db.File(QStringLiteral("Lines.tsv")).toStdString() +
                  ": line 2 is longer than the 1048576 characters a table row may hold");

    // A blank line neither makes an empty car nor replaces event 0 of car 0.
    Cars().NewCar();
    Maint().StoreEvent(MakeEvent(0, 0, QDate(2001, 2, 3), 100, 5));
    WriteSet(db, {{QStringLiteral("Cars.tsv"), "\r\n4\t2004\tCaf\xE9\tRacer\t\r\n\r\n"},
                  {QStringLiteral("Maint.tsv"), "\r\n \r\n"}});
    Import(db);
    db.Reopen();
    EXPECT_EQ(Cars().Count(), 2);
    EXPECT_EQ(Cars().CarRec(1).Make, QString::fromUtf8("Café"));
    ASSERT_NE(Maint().FindEvent(0, 0), nullptr);
    EXPECT_EQ(Maint().FindEvent(0, 0)->Encode(), MakeEvent(0, 0, QDate(2001, 2, 3), 100, 5).Encode());
}

TEST(ImportTSV, RowsNamingNumbersTheFilesDoNotDefineLeaveTheDatabaseAlone) {
    TvdrTestDatabase db;
    Cars().NewCar();
    UDF().AddUdf(0, QStringLiteral("Color"));
    CarsUDF().SetCarValue(0, 0, QStringLiteral("Blue"));
    Repairs().AddRepair(QStringLiteral("Brakes"));
    Maint().StoreEvent(MakeEvent(0, 0, QDate(2001, 2, 3), 100, 5));
    MaintNotes().AddNote(0, 0, QStringLiteral("mine"));
    const QString car0 = Cars().Get(0);
    const QString before = CarsUDF().Text() + Maint().Text() + MaintRepairs().Text() + MaintNotes().Text();

    // Only car 5, field 1 and description 2 are defined by the files.
    WriteSet(db, {{QStringLiteral("Cars.tsv"), "5\t2004\tFord\tTaurus\t\r\n"},
                  {QStringLiteral("UDF.tsv"), "1\t0\tColor\r\n"},
                  {QStringLiteral("Repairs.tsv"), "2\tBrakes\r\n"},
                  {QStringLiteral("CarsUDF.tsv"), "0\t1\tRed\r\n5\t0\tGreen\r\n9\t9\tx\r\n"},
                  {QStringLiteral("Maint.tsv"), "0\t0\t2004-01-05\t61000\t80.00\r\n"},
                  {QStringLiteral("MaintRepairs.tsv"), "0\t0\t2\r\n5\t0\t0\r\n"},
                  {QStringLiteral("MaintNotes.tsv"), "0\t0\ttheirs\r\n5\t0\ttheirs\r\n"}});
    Import(db);
    db.Reopen();
    ASSERT_EQ(Cars().Count(), 2);
    EXPECT_EQ(Cars().Get(0), car0);
    EXPECT_EQ(CarsUDF().Text() + Maint().Text() + MaintRepairs().Text() + MaintNotes().Text(), before);
}

TEST(ImportTSV, FieldsAndDescriptionsMatchTheSameTextBeforeTheSameButForLetterCase) {
    TvdrTestDatabase db;
    Repairs().AddRepair(QStringLiteral("oil change"));
    Repairs().AddRepair(QStringLiteral("Oil change"));
    UDF().AddUdf(0, QStringLiteral("colour"));
    UDF().AddUdf(1, QStringLiteral("Colour"));
    // Each text takes its own row first; one of other letter case takes the
    // lowest row left; none is taken twice.
    WriteSet(db, {{QStringLiteral("Cars.tsv"), "0\t2004\tFord\tKa\t\r\n"},
                  {QStringLiteral("Repairs.tsv"), "5\tOil change\r\n6\tOIL CHANGE\r\n7\toil change\r\n"},
                  {QStringLiteral("UDF.tsv"), "5\t0\tColour\r\n6\t0\tcolour\r\n"},
                  {QStringLiteral("CarsUDF.tsv"), "0\t5\tred\r\n0\t6\tdark\r\n"},
                  {QStringLiteral("Maint.tsv"), "0\t0\t2004-01-05\t1\t1\r\n"},
                  {QStringLiteral("MaintRepairs.tsv"), "0\t0\t5\r\n"}});
    TvdrImportTSV importer(db.Folder());
    importer.Execute();
    EXPECT_EQ(importer.Merge().NewRepairNbr(5), 1);
    EXPECT_EQ(importer.Merge().NewRepairNbr(6), 0);
    EXPECT_EQ(importer.Merge().NewRepairNbr(7), 2);
    EXPECT_EQ(Repairs().Description(2), QStringLiteral("oil change"));
    EXPECT_TRUE(MaintRepairs().HasRepair(0, 0, 1));
    EXPECT_EQ(CarsUDF().CarValue(0, 1), QStringLiteral("red"));
    EXPECT_EQ(CarsUDF().CarValue(0, 0), QStringLiteral("dark"));
}

TEST(ImportTSV, PictureExtensionsNeverLeaveTheFolder) {
    TvdrTestDatabase db;
    const QString set = db.File(QStringLiteral("set"));
    ASSERT_TRUE(QDir().mkpath(set + QStringLiteral("/CarPic000000000.x")));
    WriteWholeFile(db.File(QStringLiteral("secret")), "private");
    for (const auto &[name, header] : kHeaders)
        WriteWholeFile(set + QLatin1Char('/') + name,
                       header + "\r\n" +
                           (name == QStringLiteral("Cars.tsv")
                                ? QByteArray("0\t2004\tA\tB\tx/../../secret\r\n")
                                : QByteArray()));
    EXPECT_EQ(ErrorMessageOf([&] { TvdrImportTSV(set).Execute(); }), "(no error)");
    EXPECT_TRUE(PictureOf(db, 0).isEmpty());
}

TEST(ImportTSV, ManyCarsFieldsAndDescriptionsAreNumberedInTurn) {
    // Files like these took minutes once (their time now:
    // vandor_bench_large_input).
    TvdrTestDatabase db;
    Cars().NewCar();
    UDF().AddUdf(0, QStringLiteral("Own field"));
    Repairs().AddRepair(QStringLiteral("Zz own repair"));
    QByteArray cars, fields, repairs;
    for (int i = 0; i < 20000; ++i)
        cars += QByteArray::number(i) + "\t2000\tMake\tModel\t\r\n";
    for (int i = 0; i < 8000; ++i) {
        fields += QByteArray::number(i) + "\t0\tField " + QByteArray::number(i) + "\r\n";
        repairs += QByteArray::number(i) + "\tRepair " + QByteArray::number(i) + "\r\n";
    }
    WriteSet(db, {{QStringLiteral("Cars.tsv"), cars},
                  {QStringLiteral("UDF.tsv"), fields},
                  {QStringLiteral("Repairs.tsv"), repairs}});
    Import(db);
    // The display order knows every imported description.
    ASSERT_EQ(Repairs().OrderCount(), 8001);
    EXPECT_EQ(Repairs().Description(Repairs().RepairNbrAt(8000)), QStringLiteral("Zz own repair"));

    db.Reopen();
    ASSERT_EQ(Cars().Count(), 20001);
    EXPECT_EQ(Cars().CarNbrAt(20000), 20000);
    ASSERT_EQ(UDF().Count(), 8001);
    EXPECT_EQ(UDF().UdfNbrAt(8000), 8000);
    EXPECT_EQ(UDF().UdfName(8000), QStringLiteral("Field 7999"));
    EXPECT_EQ(Repairs().Count(), 8001);
}

namespace {

// The texts of the tables an import of `set` leaves in a database that held
// one car with an event, a value, a link and a note already.
std::map<QString, QString> TablesAfterImport(const std::map<QString, QByteArray> &set) {
    TvdrTestDatabase db;
    WriteSet(db, {{QStringLiteral("Cars.tsv"), "0\t2001\tSeat\tIbiza\t\r\n"},
                  {QStringLiteral("UDF.tsv"), "0\t0\tColor\r\n"},
                  {QStringLiteral("CarsUDF.tsv"), "0\t0\tBlue\r\n"},
                  {QStringLiteral("Repairs.tsv"), "0\tTyres\r\n"},
                  {QStringLiteral("Maint.tsv"), "0\t4\t2003-02-01\t100\t1.00\r\n"},
                  {QStringLiteral("MaintRepairs.tsv"), "0\t4\t0\r\n"},
                  {QStringLiteral("MaintNotes.tsv"), "0\t4\tOld\r\n"}});
    Import(db);
    WriteSet(db, set);
    Import(db);
    db.Reopen();
    std::map<QString, QString> texts;
    for (TvdrStringList *table :
         {static_cast<TvdrStringList *>(&Cars()), static_cast<TvdrStringList *>(&CarsUDF()),
          static_cast<TvdrStringList *>(&Maint()), static_cast<TvdrStringList *>(&MaintRepairs()),
          static_cast<TvdrStringList *>(&MaintNotes())})
        texts[table->StreamId()] = table->Text();
    return texts;
}

// The rows of `text` (lines ending in CR LF) in the opposite order.
QByteArray Reversed(const QByteArray &text) {
    QList<QByteArray> lines = text.split('\n');
    lines.removeLast();
    std::reverse(lines.begin(), lines.end());
    return lines.join('\n') + '\n';
}

} // namespace

TEST(ImportTSV, RowsInAnyOrderMergeIntoTheSameTables) {
    // Event numbers past seven digits too, which sort as text, not as numbers.
    const std::map<QString, QByteArray> grouped = {
        {QStringLiteral("Cars.tsv"),
         "0\t2004\tFord\tTaurus\t\r\n1\t1998\tOpel\tAstra\t\r\n2\t2010\tFiat\tPanda\t\r\n"},
        {QStringLiteral("UDF.tsv"), "0\t0\tColor\r\n1\t1\tTyres\r\n"},
        {QStringLiteral("CarsUDF.tsv"), "0\t0\tRed\r\n0\t1\tWinter\r\n1\t0\tGrey\r\n2\t1\tAll season\r\n"},
        {QStringLiteral("Repairs.tsv"), "0\tOil change\r\n1\tBrakes\r\n"},
        {QStringLiteral("Maint.tsv"),
         "0\t1\t2004-01-05\t1000\t80.00\r\n0\t2\t2004-02-05\t2000\t10.00\r\n"
         "1\t7\t2005-01-05\t3000\t20.00\r\n1\t12345678\t2005-03-05\t3500\t5.00\r\n"
         "2\t3\t2011-01-05\t100\t30.00\r\n"},
        {QStringLiteral("MaintRepairs.tsv"), "0\t1\t0\r\n0\t1\t1\r\n0\t2\t1\r\n1\t7\t0\r\n1\t12345678\t1\r\n"
                                             "2\t3\t1\r\n"},
        {QStringLiteral("MaintNotes.tsv"),
         "0\t1\tFirst\r\n1\t7\tSecond\r\n1\t12345678\tLong\r\n2\t3\tThird\r\n"},
    };
    std::map<QString, QByteArray> shuffled = grouped;
    for (auto &[name, rows] : shuffled)
        if (name != QLatin1String("Cars.tsv") && name != QLatin1String("UDF.tsv") &&
            name != QLatin1String("Repairs.tsv"))
            rows = Reversed(rows);
    ASSERT_NE(shuffled.at(QStringLiteral("Maint.tsv")), grouped.at(QStringLiteral("Maint.tsv")));

    const std::map<QString, QString> expected = TablesAfterImport(grouped);
    EXPECT_EQ(TablesAfterImport(shuffled), expected);
    EXPECT_TRUE(expected.at(QStringLiteral("TvdrMaint")).contains(QStringLiteral("0000002\t12345678=")));
    EXPECT_TRUE(
        expected.at(QStringLiteral("TvdrMaintNotes")).startsWith(QStringLiteral("0000000\t0000004\tOld")));
}

TEST(ImportTSV, EachFileIsReadWhenItsTableIsMergedAndALateFailureChangesNothing) {
    TvdrTestDatabase db;
    WriteSet(db, kFleet);
    Import(db);
    const auto everyTable = [] {
        return Cars().Text() + UDF().Text() + Repairs().Text() + CarsUDF().Text() + Maint().Text() +
               MaintRepairs().Text() + MaintNotes().Text() + SortOrder().Text();
    };

    // Read in turn, each after the tables before it were merged: one
    // file's rows at a time are held beside the tables.
    QList<int> order;
    QList<qsizetype> carsWhenRead;
    TvdrImportMerge merge;
    merge.Execute(db.Folder() + QLatin1Char('/'), [&](TvdrImportMerge::TTable table, TvdrImportRows &rows) {
        order.append(int(table));
        carsWhenRead.append(Cars().Count());
        const QString name = TvdrImportTSV::FileNames()[int(table)];
        QFile file(db.File(name));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        TvdrImportTSV::ReadTable(name, file, file.fileName(), rows);
    });
    EXPECT_EQ(order, QList<int>({0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(carsWhenRead, QList<qsizetype>({3, 6, 6, 6, 6, 6, 6, 6}));
    EXPECT_EQ(merge.NewRepairNbr(9), 0) << "a second import finds its description";

    // The last file fails after every other table was merged in memory:
    // the tables and the file are as before.
    const QString before = everyTable();
    const QByteArray fileBefore = ReadWholeFile(db.Db().FileName());
    std::map<QString, QByteArray> broken = kFleet;
    broken[QStringLiteral("SortOrder.tsv")] = "By make\tx\t1|0|0\r\n";
    WriteSet(db, broken);
    EXPECT_EQ(ErrorMessageOf([&] { Import(db); }),
              db.File(QStringLiteral("SortOrder.tsv")).toStdString() +
                  ": \"x\" is not a valid integer (SortOrderNbr of row 0, line 2)");
    EXPECT_EQ(everyTable(), before);
    EXPECT_EQ(ReadWholeFile(db.Db().FileName()), fileBefore);
    db.Reopen();
    EXPECT_EQ(everyTable(), before);
}
