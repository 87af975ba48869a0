#include "vdrTestDatabase.h"

#include "kvxLang.h"
#include "kvxStreamFile.h"
#include "vdrDatabaseTables.h"
#include "vdrDateTime.h"
#include "vdrFormatSettings.h"
#include "vdrMaintRec.h"

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

QString TvdrTestDatabase::FileName() const { return m_db->FileName(); }

void TvdrTestDatabase::Reopen() {
    const QString fileName = m_db->FileName();
    UnbindTables();
    m_db->Close();
    m_db->Open(fileName, false);
    BindTables(m_db.get());
}

void LoadBuiltLanguage() {
    static bool loaded = false;
    if (!loaded)
        Lang().LoadFromFile(QStringLiteral(VANDOR_BIN_DIR "/vdrLang.dat"));
    loaded = true;
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
