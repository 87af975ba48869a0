// The exchange readers and writers on devices other than their files: a
// buffer gives the same bytes and rows as the files, and a device that
// fails is named with its own error.

#include "vdrCars.h"
#include "vdrExportTSV.h"
#include "vdrExportTable.h"
#include "vdrExportXML.h"
#include "vdrFailingDevice.h"
#include "vdrImportTSV.h"
#include "vdrImportXML.h"
#include "vdrMaint.h"
#include "vdrMaintNotes.h"
#include "vdrPrivateFile.h"
#include "vdrTestDatabase.h"
#include "xdbVandorDB.h"

#include <QBuffer>
#include <QDir>
#include <gtest/gtest.h>

namespace {

void FillSome() {
    for (int c = 0; c < 3; ++c) {
        const qint32 carNbr = StoreCar(2000 + c, QStringLiteral("Make %1").arg(c), QStringLiteral("Model"));
        for (int m = 0; m < 400; ++m) {
            Maint().StoreEvent(MakeEvent(carNbr, m, QDate(2001, 1, 1).addDays(m), m * 10, m / 4.0));
            MaintNotes().AddNote(carNbr, m, QStringLiteral("note %1\r\nline two").arg(m));
        }
    }
}

QByteArray Written(const std::function<void(QIODevice &device)> &write) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    write(buffer);
    return buffer.data();
}

} // namespace

TEST(ExchangeDevices, ABufferGetsTheFilesBytesAndGivesTheirRows) {
    TvdrTestDatabase db;
    FillSome();
    const QString out = db.File(QStringLiteral("out"));
    TvdrExportXML(out).Execute();
    TvdrExportTSV(out).Execute();
    const QByteArray document =
        Written([](QIODevice &device) { TvdrExportXML::WriteDocument(device, QStringLiteral("buffer")); });
    EXPECT_EQ(document, ReadWholeFile(out + QStringLiteral("/VandorDB.xml")));
    EXPECT_GT(document.size(), 200000) << "more than a few writer buffers' worth";
    for (const TvdrExportTable &table : ExportTables()) {
        SCOPED_TRACE(table.Name.toStdString());
        EXPECT_EQ(
            Written([&table](QIODevice &device) { TvdrExportTSV::WriteFile(table, device, table.Name); }),
            ReadWholeFile(out + QLatin1Char('/') + table.Name + QStringLiteral(".tsv")));
    }

    QBuffer xml;
    xml.setData(document);
    xml.open(QIODevice::ReadOnly);
    const TvdrImportRows fromBuffer = TvdrImportXML::ReadRows(xml, QStringLiteral("buffer"));
    const TvdrImportRows fromFile = TvdrImportXML(out + QStringLiteral("/VandorDB.xml")).ReadRows();
    EXPECT_EQ(fromBuffer.Events.size(), 1200);
    EXPECT_EQ(fromBuffer.Notes.size(), fromFile.Notes.size());
    EXPECT_EQ(fromBuffer.Notes.last().Note, fromFile.Notes.last().Note);
    EXPECT_EQ(fromBuffer.Events.last().DayNumber, fromFile.Events.last().DayNumber);

    TvdrImportRows fromTsv;
    for (const QString &name : TvdrImportTSV::FileNames()) {
        QBuffer file;
        file.setData(ReadWholeFile(out + QLatin1Char('/') + name));
        file.open(QIODevice::ReadOnly);
        TvdrImportTSV::ReadTable(name, file, name, fromTsv);
    }
    EXPECT_EQ(fromTsv.Cars.size(), 3);
    EXPECT_EQ(fromTsv.Notes.size(), fromFile.Notes.size());
    EXPECT_EQ(fromTsv.Events.last().Cost, fromFile.Events.last().Cost);
}

TEST(ExchangeDevices, ADeviceThatFailsIsNamedWithItsErrorAndAFileNotCommittedLeavesTheOldOne) {
    TvdrTestDatabase db;
    FillSome();
    // Past the writer's first buffer, so the failure comes mid-stream.
    TvdrFailingDevice full(QByteArray(), 100000);
    full.open(QIODevice::WriteOnly);
    EXPECT_EQ(ErrorMessageOf([&] { TvdrExportXML::WriteDocument(full, QStringLiteral("the backup")); }),
              "cannot write the backup: the device is full");
    TvdrFailingDevice small(QByteArray(), 1000);
    small.open(QIODevice::WriteOnly);
    EXPECT_EQ(
        ErrorMessageOf([&] { TvdrExportTSV::WriteFile(ExportTables()[4], small, QStringLiteral("Maint")); }),
        "cannot write Maint: the device is full");

    const QByteArray document =
        Written([](QIODevice &device) { TvdrExportXML::WriteDocument(device, QStringLiteral("buffer")); });
    TvdrFailingDevice broken(document.left(150000), 0);
    broken.open(QIODevice::ReadOnly);
    EXPECT_EQ(ErrorMessageOf([&] { LoadDocument(broken, QStringLiteral("pipe")); }),
              "pipe: cannot read the file: the device broke while reading");
    const QByteArray maint = Written([](QIODevice &device) {
        TvdrExportTSV::WriteFile(ExportTables()[4], device, QStringLiteral("Maint"));
    });
    TvdrFailingDevice brokenTsv(maint.left(70000), 0);
    brokenTsv.open(QIODevice::ReadOnly);
    TvdrImportRows rows;
    EXPECT_EQ(ErrorMessageOf([&] {
                  TvdrImportTSV::ReadTable(QStringLiteral("Maint.tsv"), brokenTsv, QStringLiteral("pipe"),
                                           rows);
              }),
              "cannot read pipe: the device broke while reading");

    // A file written but never committed (the export failed on its way)
    // leaves the old file whole and nothing beside it.
    const QString folder = db.File(QStringLiteral("out"));
    QDir().mkpath(folder);
    const QString name = folder + QStringLiteral("/VandorDB.xml");
    WriteWholeFile(name, "the old backup");
    {
        TvdrPrivateFile file(name);
        file.Open();
        EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 2);
        file.write(document);
    }
    EXPECT_EQ(ReadWholeFile(name), "the old backup");
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList({"VandorDB.xml"}));
    TvdrPrivateFile file(name);
    file.Open();
    file.write(document);
    file.Commit();
    EXPECT_EQ(ReadWholeFile(name), document);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files | QDir::Hidden), QStringList({"VandorDB.xml"}));
}
