// The exported files byte for byte against those that the build before the
// streaming exports wrote from the same tables (tests/data/exchange): rows of
// every shape, damaged ones too, texts the code page cannot hold (written as
// the file holds them, "?"), costs that round and dates at the ends of the
// calendar.

#include "vdrCars.h"
#include "vdrCarsUDF.h"
#include "vdrCmRtn.h"
#include "vdrDateTime.h"
#include "vdrExportTSV.h"
#include "vdrExportXML.h"
#include "vdrFormatSettings.h"
#include "vdrMaint.h"
#include "vdrMaintNotes.h"
#include "vdrMaintRepairs.h"
#include "vdrRepairs.h"
#include "vdrSortOrder.h"
#include "vdrSortOrderList.h"
#include "vdrTestDatabase.h"
#include "vdrUDF.h"

#include <QDir>
#include <gtest/gtest.h>

namespace {

const char *const kFiles[] = {"VandorDB.xml",     "Cars.tsv",       "UDF.tsv",
                              "CarsUDF.tsv",      "Repairs.tsv",    "Maint.tsv",
                              "MaintRepairs.tsv", "MaintNotes.tsv", "SortOrder.tsv"};

void FillTables() {
    const auto car = [](const char *key, const QString &value) {
        Cars().SetValue(QLatin1String(key), value);
    };
    car("0000000", QStringLiteral("2004\tAT&T <V8>\tRock'n'Roll\t"));
    car("0000003", QString::fromUtf8("  1998\tCitro\xC3\xABn \xE2\x82\xAC\tDS \"x\"\tJPG "));
    car("0000012", QString::fromUtf8("19x8\t\xCE\xA9mega\t\xF0\x9F\x98\x80 emoji\tpng"));
    car("0000020", QStringLiteral("-12\t\t\t"));
    car("12", QStringLiteral("2001\tShort key\tx\t"));
    car("abc", QStringLiteral("2002\tNo number"));

    UDF().AddUdf(1, QStringLiteral("Plate & <no>"));
    UDF().AddUdf(0, QString::fromUtf8("Gr\xC3\xB6\xC3\x9F"
                                      "e"));
    UDF().Add(QStringLiteral("0000005\t-000001\tNegative position"));
    UDF().Add(QStringLiteral("0000006\t\t\tDoubled tabs"));

    CarsUDF().SetCarValue(0, 0, QStringLiteral("AB-123 'quoted'"));
    CarsUDF().SetCarValue(3, 1, QString::fromUtf8("\xE2\x82\xAC 5 \xCE\xA9"));
    CarsUDF().Add(QStringLiteral("0000003\t0000002\tvalue\twith tab"));
    CarsUDF().Add(QStringLiteral("0000003\t0000005\t"));
    CarsUDF().Add(QStringLiteral("0000012\t\t0000001\tafter two tabs"));
    CarsUDF().Add(QStringLiteral("x\ty\tz"));

    for (const char *text : {"brakes", "Alternator", "clutch", "\xC3\x96lwechsel & <Filter>", "alternator"})
        Repairs().AddRepair(QString::fromUtf8(text));
    Repairs().SetValue(QStringLiteral("0000009"), QStringLiteral("  padded  "));

    Maint().StoreEvent(MakeEvent(0, 0, QDate(2004, 1, 5), 61000, 80));
    Maint().StoreEvent(MakeEvent(0, 1, QDate(1, 1, 1), -5, -5.5));
    Maint().StoreEvent(MakeEvent(0, 2, QDate(9999, 12, 31), 2147483647, 0.125));
    Maint().StoreEvent(MakeEvent(3, 0, QDate(2020, 2, 29), 10, 2.675));
    Maint().StoreEvent(MakeEvent(3, 1, QDate(1899, 12, 30), 0, 1234567.891));
    Maint().StoreEvent(MakeEvent(3, 2, QDate(2000, 1, 1), 1, 1e14));
    Maint().StoreEvent(MakeEvent(3, 3, QDate(2000, 1, 1), 1, 0.005));
    Maint().StoreEvent(MakeEvent(3, 4, QDate(2000, 1, 1), 1, -0.004));
    Maint().SetValue(QStringLiteral("0000003\t0000009"), QStringLiteral("731000\t\t12,5"));
    Maint().SetValue(QStringLiteral("0000003\t0000010"), QStringLiteral("3652060\t7\t1.5"));
    Maint().SetValue(QStringLiteral("0000003\t0000011"), QStringLiteral("0\t7\tabc"));
    Maint().SetValue(QStringLiteral("0000012\t0000000"), QStringLiteral(" 730000 \t 8 \t 9.99 "));
    Maint().SetValue(QStringLiteral("12\t5"), QStringLiteral("730001\t3\t4"));
    Maint().Add(QStringLiteral("0000099 without a name"));

    MaintRepairs().AddLink(0, 0, 1);
    MaintRepairs().AddLink(0, 0, 3);
    MaintRepairs().AddLink(3, 2, 0);
    MaintRepairs().Add(QStringLiteral("0000003\t0000002\t0000001\textra"));
    MaintRepairs().Add(QStringLiteral("0000004\t\t0000002"));

    MaintNotes().AddNote(0, 0, QStringLiteral("Oil\r\nFilter \\ back\ttab"));
    MaintNotes().AddNote(0, 1, QString::fromUtf8("<&> \"d\xC3\xA9j\xC3\xA0\" \xE2\x82\xAC \xF0\x9F\x98\x80"));
    MaintNotes().Add(QStringLiteral("0000003\t0000001\t"));
    MaintNotes().Add(QStringLiteral("0000003\t0000002\tnote\tcut here"));

    SortOrder().SortOrderList();
    TvdrSortOrderRec byPlate;
    byPlate.SetName(QStringLiteral("By plate & <make>"));
    byPlate.SortOrderNbr = 1;
    byPlate.AddSortField(0, TvdrSortOrderField::UserDefined, 1);
    byPlate.AddSortField(TvdrSortOrderField::Make, TvdrSortOrderField::BuiltIn, 0);
    SortOrder().AddSortOrder(byPlate);
    SortOrder().Add(QStringLiteral("No fields=2"));
    SortOrder().Add(QStringLiteral("Tab\tname=3\t1|0|0"));
    SortOrder().Add(QStringLiteral("Odd fields=4\tx|y\t\t2|0|1"));
}

} // namespace

TEST(ExportBytes, BothExportsWriteTheSameBytesAsBeforeForRowsOfEveryShape) {
    TvdrTestDatabase db;
    vdrDateTime::SetClock([] { return QDateTime(QDate(2021, 6, 30), QTime(13, 45)); });
    TvdrFormatSettings::SetCurrent(TvdrFormatSettings::CommaLocale());
    FillTables();
    const QString out = db.File(QStringLiteral("out"));
    TvdrExportXML(out).Execute();
    TvdrExportTSV(out).Execute();
    vdrDateTime::SetClock({});
    for (const char *name : kFiles) {
        SCOPED_TRACE(name);
        EXPECT_EQ(ReadWholeFile(out + QLatin1Char('/') + QLatin1String(name)),
                  ReadWholeFile(TestDataFile(QStringLiteral("exchange/") + QLatin1String(name))));
    }
}
