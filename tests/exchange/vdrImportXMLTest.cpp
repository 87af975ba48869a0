#include "vdrImportXML.h"
#include "kvxSfToc.h"
#include "kvxStreamFile.h"
#include "vdrCars.h"
#include "vdrCarsUDF.h"
#include "vdrDateTime.h"
#include "vdrMaint.h"
#include "vdrMaintNotes.h"
#include "vdrMaintRepairs.h"
#include "vdrPicture.h"
#include "vdrRepairs.h"
#include "vdrSortOrder.h"
#include "vdrTestDatabase.h"
#include "vdrUDF.h"
#include "xdbVandorDB.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

// `tables` inside the declaration and root lines the export writes.
QByteArray Document(const QByteArray &tables) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\" ?>\r\n<Vandor_Database>\r\n" + tables +
           "\r\n</Vandor_Database>\r\n";
}

QString WriteDocument(const TvdrTestDatabase &db, const QByteArray &tables) {
    const QString fileName = db.File(QStringLiteral("VandorDB.xml"));
    WriteWholeFile(fileName, Document(tables));
    return fileName;
}

QByteArray Car(int carNbr, const char *year, const char *extension = "") {
    return QByteArray("<CarsRow Nbr=\"0\"><CarNbr>") + QByteArray::number(carNbr) + "</CarNbr><Year>" + year +
           "</Year><Make>Ford</Make><Model>Ka</Model><PictureExtension>" + extension +
           "</PictureExtension></CarsRow>\r\n";
}

QByteArray Event(int carNbr, int maintNbr) {
    return "<MaintRow><CarNbr>" + QByteArray::number(carNbr) + "</CarNbr><MaintNbr>" +
           QByteArray::number(maintNbr) +
           "</MaintNbr><Date>2004-01-05</Date><Mileage>100</Mileage><Cost>80.00</Cost></MaintRow>\r\n";
}

} // namespace

TEST(XmlBinding, ValuesConvertStrictlyAndErrorsNameFileElementRowAndLine) {
    TvdrTempFolder folder;
    // Any document element; tables absent or holding other elements.
    const QString fileName = folder.File(QStringLiteral("any.xml"));
    WriteWholeFile(
        fileName,
        "<Other>\n<Maint>\n<Note/>\n"
        "<MaintRow><CarNbr> -12 </CarNbr><MaintNbr>+3</MaintNbr><Date>2004-03-16T23:30:00+05:00</Date>"
        "<Mileage>2147483647</Mileage><Cost> 12.34567 </Cost></MaintRow>\n"
        "<MaintRow><CarNbr>1.5</CarNbr><Date>2004-02-30</Date><Mileage>2147483648</Mileage>"
        "<Cost></Cost></MaintRow>\n"
        "<MaintRow><MaintNbr>0x1</MaintNbr><Date>2004-3-1</Date><Cost>1e999</Cost></MaintRow>\n"
        "</Maint>\n</Other>\n");
    const auto doc = LoadDocument(fileName);
    EXPECT_EQ(doc->Cars().Count(), 0);
    ASSERT_EQ(doc->Maint().Count(), 3);
    const TXMLMaintRow good = doc->Maint().Row(0);
    EXPECT_EQ(good.CarNbr(), -12);
    EXPECT_EQ(good.MaintNbr(), 3);
    EXPECT_EQ(good.Date(), QDate(2004, 3, 16)) << "the day as written";
    EXPECT_EQ(good.Mileage(), 2147483647);
    EXPECT_DOUBLE_EQ(good.Cost(), 12.3457);

    const std::string at = fileName.toStdString() + ": ";
    const TXMLMaintRow bad = doc->Maint().Row(1);
    EXPECT_EQ(ErrorMessageOf([&] { bad.CarNbr(); }),
              at + "\"1.5\" is not a valid integer (CarNbr of MaintRow 1, line 5)");
    EXPECT_EQ(ErrorMessageOf([&] { bad.MaintNbr(); }),
              at + "the element is missing; it must hold a valid integer (MaintNbr of MaintRow 1, line 5)");
    EXPECT_EQ(ErrorMessageOf([&] { bad.Cost(); }),
              at + "the element is empty; it must hold a valid amount (Cost of MaintRow 1, line 5)");
    EXPECT_NE(ErrorMessageOf([&] { bad.Date(); }), "(no error)");
    EXPECT_NE(ErrorMessageOf([&] { bad.Mileage(); }), "(no error)") << "overflow";
    const TXMLMaintRow worse = doc->Maint().Row(2);
    EXPECT_NE(ErrorMessageOf([&] { worse.MaintNbr(); }), "(no error)");
    EXPECT_NE(ErrorMessageOf([&] { worse.Date(); }), "(no error)");
    EXPECT_NE(ErrorMessageOf([&] { worse.Cost(); }), "(no error)");

    WriteWholeFile(fileName, "<a>\n<Cars>\n<CarsRow></Cars>\n</a>\n");
    const std::string broken = ErrorMessageOf([&] { LoadDocument(fileName); });
    EXPECT_EQ(broken.rfind(at + "not a well-formed XML document: ", 0), 0u) << broken;
    EXPECT_NE(broken.find("line 3"), std::string::npos) << broken;
    const QString missing = folder.File(QStringLiteral("missing.xml"));
    EXPECT_EQ(
        ErrorMessageOf([&] { LoadDocument(missing); }).rfind(missing.toStdString() + ": cannot read", 0), 0u);
}

TEST(ImportXML, CarsGetNewNumbersInDocumentOrderAndTheirRowsFollow) {
    TvdrTestDatabase db;
    const QString fileName = WriteDocument(db, R"(<Cars>
<CarsRow Nbr="0"><CarNbr>7</CarNbr><Year>1998</Year><Make>AT&amp;T</Make><Model>Käfer</Model><PictureExtension></PictureExtension></CarsRow>
<Comment>not a row</Comment>
<CarsRow><CarNbr> 3 </CarNbr><Year>2004</Year><Make>VW</Make><Model>Golf</Model></CarsRow>
<CarsRow Nbr="x"><CarNbr>12</CarNbr><Year>2010</Year><Make/><Model>Z</Model><PictureExtension/></CarsRow>
</Cars>
<Repairs><RepairsRow><RepairNbr>4</RepairNbr><Description>Oil</Description></RepairsRow></Repairs>
<Maint>
<MaintRow><CarNbr>3</CarNbr><MaintNbr>5</MaintNbr><Date>2004-03-15</Date><Mileage>1500</Mileage><Cost>12.3456</Cost></MaintRow>
<MaintRow><CarNbr>12</CarNbr><MaintNbr>0</MaintNbr><Date>2004-03-16T10:20:30</Date><Mileage>0</Mileage><Cost>12,5</Cost></MaintRow>
</Maint>
<MaintRepairs><MaintRepairsRow><CarNbr>3</CarNbr><MaintNbr>5</MaintNbr><RepairNbr>4</RepairNbr></MaintRepairsRow></MaintRepairs>
<MaintNotes><MaintNotesRow><CarNbr>3</CarNbr><MaintNbr>5</MaintNbr><Note>Oil\nFilter</Note></MaintNotesRow></MaintNotes>)");
    TvdrImportXML(fileName).Execute();
    db.Reopen();

    ASSERT_EQ(Cars().Count(), 3);
    EXPECT_EQ(Cars().CarDescription(0), QStringLiteral("1998 AT&T Käfer"));
    EXPECT_EQ(Cars().CarDescription(1), QStringLiteral("2004 VW Golf"));
    EXPECT_EQ(Cars().CarDescription(2), QStringLiteral("2010  Z"));
    const TvdrMaintRec *event = Maint().FindEvent(1, 5);
    ASSERT_NE(event, nullptr) << "event 5 of car 3 is event 5 of car 1";
    EXPECT_EQ(event->Date, vdrDateTime::DayNumberOf(QDate(2004, 3, 15)));
    EXPECT_EQ(event->Mileage, 1500);
    EXPECT_DOUBLE_EQ(event->Cost, 12.3456);
    event = Maint().FindEvent(2, 0);
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(event->Date, vdrDateTime::DayNumberOf(QDate(2004, 3, 16)));
    EXPECT_DOUBLE_EQ(event->Cost, 12.5);
    EXPECT_TRUE(MaintRepairs().HasRepair(1, 5, Repairs().FindRepair(QStringLiteral("oil"))));
    EXPECT_EQ(MaintNotes().StoredNote(1, 5), QStringLiteral("Oil\\nFilter")) << "the stored form, unchanged";
}

TEST(ImportXML, ImportingTwiceDoublesCarsButReusesFieldsDescriptionsAndSortOrders) {
    TvdrTestDatabase db;
    UDF().AddUdf(0, QStringLiteral("Plate"));
    // No MaintNotes element; sort fields name the document's field numbers.
    const QString fileName = WriteDocument(db, "<Cars>" + Car(0, "2001") + R"(</Cars>
<UDF><UDFRow><UdfNbr>2</UdfNbr><SortOrder>5</SortOrder><Name>PLATE</Name></UDFRow>
<UDFRow><UdfNbr>3</UdfNbr><SortOrder>1</SortOrder><Name>Tyres</Name></UDFRow></UDF>
<CarsUDF><CarsUDFRow><CarNbr>0</CarNbr><UdfNbr>2</UdfNbr><Value>AB-123</Value></CarsUDFRow></CarsUDF>
<Repairs><RepairsRow><RepairNbr>0</RepairNbr><Description>Brakes</Description></RepairsRow></Repairs>
<Maint>)" + Event(0, 0) + R"(</Maint>
<MaintRepairs><MaintRepairsRow><CarNbr>0</CarNbr><MaintNbr>0</MaintNbr><RepairNbr>0</RepairNbr></MaintRepairsRow></MaintRepairs>
<SortOrder><SortOrderRow><SortOrderName>By plate</SortOrderName><SortOrderNbr>1</SortOrderNbr><SortOrderFields>2|1|1&#9;1|0|1</SortOrderFields></SortOrderRow>
<SortOrderRow><SortOrderName>Bare</SortOrderName><SortOrderNbr>2</SortOrderNbr><SortOrderFields></SortOrderFields></SortOrderRow>
<SortOrderRow><SortOrderName>Lost</SortOrderName><SortOrderNbr>3</SortOrderNbr><SortOrderFields>9|1|0&#9;1|0|0</SortOrderFields></SortOrderRow></SortOrder>)");
    TvdrImportXML(fileName).Execute();
    const int sortOrders = SortOrder().Count();
    TvdrImportXML(fileName).Execute();
    db.Reopen();

    EXPECT_EQ(Cars().Count(), 2);
    EXPECT_EQ(UDF().Count(), 2);
    EXPECT_EQ(UDF().Get(0), QStringLiteral("0000000\t0000000\tPlate"))
        << "the existing field is left as it was";
    EXPECT_EQ(Repairs().Count(), 1);
    EXPECT_EQ(SortOrder().Count(), sortOrders);
    for (qint32 car : {0, 1}) {
        EXPECT_EQ(CarsUDF().CarValue(car, 0), QStringLiteral("AB-123")) << car;
        EXPECT_NE(Maint().FindEvent(car, 0), nullptr) << car;
        EXPECT_TRUE(MaintRepairs().HasRepair(car, 0, 0)) << car;
    }
    EXPECT_EQ(MaintNotes().Count(), 0);

    const TvdrSortOrderRec byPlate = SortOrder().FindSortOrder(QStringLiteral("By plate"))->Clone();
    EXPECT_EQ(byPlate.FieldsText(), QStringLiteral("0|1|1\t1|0|1"))
        << "field 2 of the document is Plate here";
    EXPECT_EQ(SortOrder().FindSortOrder(QStringLiteral("Bare"))->SortFieldCount(), 0);
    EXPECT_EQ(SortOrder().FindSortOrder(QStringLiteral("Lost"))->FieldsText(), QStringLiteral("1|0|0"));
}

TEST(ImportXML, RowsNamingNumbersTheDocumentDoesNotDefineLeaveTheDatabaseAlone) {
    TvdrTestDatabase db;
    const qint32 own = Cars().NewCar();
    UDF().AddUdf(0, QStringLiteral("Plate"));
    Repairs().AddRepair(QStringLiteral("Oil"));
    // The document defines car 5, field 1 and description 1 only; its other
    // numbers would land on the database's car 0, field 0 and description 0.
    const QString fileName = WriteDocument(db, "<Cars>" + Car(5, "2001") + R"(</Cars>
<UDF><UDFRow><UdfNbr>1</UdfNbr><SortOrder>0</SortOrder><Name>Colour</Name></UDFRow></UDF>
<CarsUDF><CarsUDFRow><CarNbr>9</CarNbr><UdfNbr>1</UdfNbr><Value>x</Value></CarsUDFRow>
<CarsUDFRow><CarNbr>5</CarNbr><UdfNbr>0</UdfNbr><Value>x</Value></CarsUDFRow>
<CarsUDFRow><CarNbr>5</CarNbr><UdfNbr>1</UdfNbr><Value>red</Value></CarsUDFRow></CarsUDF>
<Repairs><RepairsRow><RepairNbr>1</RepairNbr><Description>Brakes</Description></RepairsRow></Repairs>
<Maint>)" + Event(9, 0) + Event(5, 1) + R"(</Maint>
<MaintRepairs><MaintRepairsRow><CarNbr>5</CarNbr><MaintNbr>1</MaintNbr><RepairNbr>0</RepairNbr></MaintRepairsRow>
<MaintRepairsRow><CarNbr>9</CarNbr><MaintNbr>0</MaintNbr><RepairNbr>1</RepairNbr></MaintRepairsRow>
<MaintRepairsRow><CarNbr>5</CarNbr><MaintNbr>7</MaintNbr><RepairNbr>1</RepairNbr></MaintRepairsRow>
<MaintRepairsRow><CarNbr>5</CarNbr><MaintNbr>1</MaintNbr><RepairNbr>1</RepairNbr></MaintRepairsRow></MaintRepairs>
<MaintNotes><MaintNotesRow><CarNbr>9</CarNbr><MaintNbr>0</MaintNbr><Note>x</Note></MaintNotesRow>
<MaintNotesRow><CarNbr>5</CarNbr><MaintNbr>1</MaintNbr><Note>kept</Note></MaintNotesRow></MaintNotes>)");
    TvdrImportXML importer(fileName);
    importer.Execute();
    db.Reopen();

    EXPECT_EQ(importer.Merge().Skipped(), 7);
    EXPECT_EQ(Maint().Count(), 1);
    EXPECT_EQ(Maint().FindEvent(own, 0), nullptr);
    EXPECT_EQ(CarsUDF().Count(), 1);
    EXPECT_EQ(CarsUDF().CarValue(1, 1), QStringLiteral("red"));
    EXPECT_EQ(MaintRepairs().Count(), 1);
    EXPECT_TRUE(MaintRepairs().HasRepair(1, 1, 1));
    EXPECT_EQ(MaintNotes().Count(), 1);
    EXPECT_EQ(MaintNotes().StoredNote(1, 1), QStringLiteral("kept"));
}

TEST(ImportXML, ABadDocumentImportsNothing) {
    TvdrTestDatabase db;
    QString fileName = WriteDocument(db, Car(0, "2001") + "<Cars>");
    EXPECT_NE(ErrorMessageOf([&] { TvdrImportXML(fileName).Execute(); }).find(fileName.toStdString()),
              std::string::npos);
    EXPECT_EQ(Cars().Count(), 0) << "nothing is imported from a document that is not well-formed";

    fileName = WriteDocument(db, "<Cars>\r\n" + Car(0, "2001") + Car(1, "2002") + Car(2, "abc") +
                                     Car(3, "2003") + "</Cars>\r\n<Maint>" + Event(0, 0) + "</Maint>");
    EXPECT_EQ(ErrorMessageOf([&] { TvdrImportXML(fileName).Execute(); }),
              fileName.toStdString() + ": \"abc\" is not a valid integer (Year of CarsRow 2, line 6)");
    EXPECT_EQ(Cars().Count(), 0) << "not even the cars before the failing row";
    EXPECT_EQ(Maint().Count(), 0);
    db.Reopen();
    EXPECT_EQ(Cars().Count(), 0);
}

TEST(ImportXML, PicturesAreReadUnderTheDocumentsNamesButNeverOutsideItsFolder) {
    TvdrTestDatabase db;
    const QString folder = db.File(QStringLiteral("export"));
    QDir().mkpath(folder + QStringLiteral("/CarPic000000008.../"));
    QDir().mkpath(folder + QStringLiteral("/CarPic000000009.j"));
    WriteWholeFile(folder + QStringLiteral("/CarPic000000007.JPG"), "seven");
    WriteWholeFile(folder + QStringLiteral("/CarPic000000008.../x"), "outside");
    WriteWholeFile(folder + QStringLiteral("/CarPic000000009.j/pg"), "outside");
    WriteWholeFile(folder + QStringLiteral("/CarPic000000011.jpg"), "eleven");
    const QString fileName = folder + QStringLiteral("/VandorDB.xml");
    WriteWholeFile(fileName,
                   Document("<Cars>" + Car(7, "2001", "JPG") + Car(8, "2002", "../x") +
                            Car(9, "2003", "j/pg") + Car(10, "2004", "jpg") + Car(11, "2005", "jpg") +
                            "</Cars>\r\n<Maint>" + Event(11, 0) + "</Maint>"));

    const std::string error = ErrorMessageOf([&] { TvdrImportXML(fileName).Execute(); });
    EXPECT_NE(error.find((folder + QStringLiteral("/CarPic000000010.jpg")).toStdString()), std::string::npos)
        << error;
    db.Reopen();
    EXPECT_EQ(Cars().Count(), 0) << "a missing picture takes the whole import with it";
    EXPECT_EQ(Maint().Count(), 0);
    for (qint32 car : {0, 1, 2, 3, 4})
        EXPECT_FALSE(db.Db().Toc().Exists(TvdrPicture::StreamIdOf(car))) << car;

    // Without the missing one, the pictures are read under the document's
    // names, and never from outside its folder.
    WriteWholeFile(folder + QStringLiteral("/CarPic000000010.jpg"), "ten");
    TvdrImportXML(fileName).Execute();
    db.Reopen();
    EXPECT_EQ(Cars().Count(), 5);
    EXPECT_NE(Maint().FindEvent(4, 0), nullptr);
    EXPECT_EQ(Cars().PictureExtension(0), QStringLiteral("jpg"));
    EXPECT_EQ(db.Db().ReadStream(TvdrPicture::StreamIdOf(0)), QByteArray("seven"));
    EXPECT_EQ(db.Db().ReadStream(TvdrPicture::StreamIdOf(3)), QByteArray("ten"));
    for (qint32 car : {1, 2})
        EXPECT_FALSE(db.Db().Toc().Exists(TvdrPicture::StreamIdOf(car))) << car;
}

TEST(ImportXML, ALargeDocumentImports) {
    TvdrTestDatabase db;
    constexpr int kEvents = 20000;
    QByteArray events;
    for (int i = 0; i < kEvents; ++i)
        events += Event(4, i);
    const QString fileName =
        WriteDocument(db, "<Cars>" + Car(4, "2001") + "</Cars><Maint>" + events + "</Maint>");
    TvdrImportXML(fileName).Execute();
    db.Reopen();
    EXPECT_EQ(Maint().Count(), kEvents);
    EXPECT_NE(Maint().FindEvent(0, kEvents - 1), nullptr);
}
