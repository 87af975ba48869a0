#include "vdrTestDatabase.h"

#include "kvxLang.h"
#include "kvxStreamFile.h"
#include "vdrCars.h"
#include "vdrDatabaseTables.h"
#include "vdrDateTime.h"
#include "vdrFormatSettings.h"
#include "vdrLog.h"
#include "vdrMaintRec.h"

#include <QFile>

#include <gtest/gtest.h>

TvdrTestDatabase::TvdrTestDatabase() : m_db(std::make_unique<TkvxStreamFile>()) {
    LoadBuiltLanguage();
    TvdrFormatSettings::SetCurrent(TvdrFormatSettings::PointLocale());
    vdrDateTime::SetClock(nullptr);
    m_db->Open(m_folder.File(QStringLiteral("Vandor.dat")), false);
    BindTables(m_db.get());
}

TvdrTestDatabase::~TvdrTestDatabase() {
    UnbindTables();
    m_db->Close();
}

QString TvdrTestDatabase::FileName() const {
    return m_db->FileName();
}

void TvdrTestDatabase::Reopen(const std::function<void(const QString &fileName)> &whileClosed) {
    const QString fileName = m_db->FileName();
    UnbindTables();
    m_db->Close();
    if (whileClosed)
        whileClosed(fileName);
    m_db->Open(fileName, false);
    BindTables(m_db.get());
}

void LoadBuiltLanguage() {
    // Tests that replace the texts clear them afterwards: load again then.
    if (Lang().Count() == 0)
        Lang().LoadFromFile(QStringLiteral(VANDOR_BIN_DIR "/vdrLang.dat"));
}

qint32 StoreCar(int year, const QString &make, const QString &model) {
    const qint32 carNbr = Cars().NewCar();
    TvdrCarRec rec = Cars().CarRec(carNbr);
    rec.Year = year;
    rec.SetMake(make);
    rec.SetModel(model);
    Cars().StoreCarRec(rec);
    Cars().Save();
    return carNbr;
}

QStringList LogMessages() {
    QFile file(Log().GetFileName());
    if (!file.open(QIODevice::ReadOnly))
        return {};
    // Each line: time ":" thread TAB message CR LF.
    QStringList lines;
    for (QByteArray line : file.readAll().split('\n')) {
        if (line.endsWith('\r'))
            line.chop(1);
        if (!line.isEmpty())
            lines.append(QString::fromLatin1(line.mid(line.indexOf('\t') + 1)));
    }
    return lines;
}

TvdrMaintRec MakeEvent(qint32 carNbr, qint32 maintNbr, const QDate &date, qint32 mileage, double cost) {
    TvdrMaintRec rec;
    rec.SetCarNbr(carNbr);
    rec.SetMaintNbr(maintNbr);
    rec.SetDate(date);
    rec.SetMileage(mileage);
    rec.SetCost(cost);
    return rec;
}

QByteArray DamageBlock(const QString &fileName, const QString &id) {
    qint64 offset = 0;
    qint32 size = 0;
    {
        TkvxStreamFile db;
        db.Open(fileName, true);
        const TkvxSfTocEntry &entry = db.Toc().Entry(db.Toc().IndexOfId(id));
        offset = entry.Offset;
        size = entry.Size;
    }
    // Past the length and the zlib header: the deflate data themselves.
    EXPECT_GT(size, 8) << id.toStdString();
    QByteArray bytes = ReadWholeFile(fileName);
    bytes[offset + 6] = char(bytes[offset + 6] ^ 0xFF);
    WriteWholeFile(fileName, bytes);
    return bytes.mid(offset, size);
}

TvdrStorageLogCapture::TvdrStorageLogCapture() {
    ClearDamagedStreams();
    m_previous = SetStorageLog([this](const QString &line) { Lines.append(line); });
}

TvdrStorageLogCapture::~TvdrStorageLogCapture() {
    SetStorageLog(m_previous);
    ClearDamagedStreams();
}
