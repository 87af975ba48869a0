#include "vdrCliSession.h"

#include "kvxLang.h"
#include "vdrDatabaseTables.h"
#include "vdrError.h"
#include "vdrFormatSettings.h"
#include "vdrProgramFolder.h"
#include "vdrSortOrder.h"
#include "vdrSortOrderList.h"

#include <QFile>
#include <QLocale>

TvdrCliSession::TvdrCliSession(const QString &fileName, Mode mode) {
    TvdrFormatSettings::SetCurrent(TvdrFormatSettings::FromLocale(QLocale::system()));
    const QString langFile = ProgramFolder() + QStringLiteral("/vdrLang.dat");
    if (Lang().Count() == 0 && QFile::exists(langFile))
        Lang().LoadFromFile(langFile);
    if (mode != Mode::ChangeOrCreate && !QFile::exists(fileName))
        throw EvdrError(QStringLiteral("%1 does not exist").arg(fileName));
    m_db.Open(fileName, mode == Mode::Read);
    BindTables(&m_db);
    try {
        RaiseIfTablesUnreadable();
    } catch (...) {
        UnbindTables();
        throw;
    }
    // The program builds its sort menu at start-up, which gives an empty
    // table its default sort order (in memory, saved with the next save).
    SortOrder().SortOrderList();
}

TvdrCliSession::~TvdrCliSession() {
    UnbindTables();
    m_db.Close();
}
