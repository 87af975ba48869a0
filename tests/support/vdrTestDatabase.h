#pragma once

#include "vdrTestSupport.h"

#include <QDate>

#include <memory>

class TkvxStreamFile;
class TvdrMaintRec;

// A new database in a temporary folder with every table bound to it (and so
// empty), the point locale's formats, the system clock and the language
// texts of the built language file. Unbinds the tables when destroyed.
class TvdrTestDatabase {
public:
    TvdrTestDatabase();
    ~TvdrTestDatabase();

    TkvxStreamFile &Db() { return *m_db; }
    QString FileName() const;
    QString Folder() const { return m_folder.Path(); }
    QString File(const QString &name) const { return m_folder.File(name); }

    // Closes the database and opens it again with every table reloaded:
    // what the next start of the program sees.
    void Reopen();

private:
    TvdrTempFolder m_folder;
    std::unique_ptr<TkvxStreamFile> m_db;
};

// The built language file's texts in Lang().
void LoadBuiltLanguage();

// An event record with the given fields.
TvdrMaintRec MakeEvent(qint32 carNbr, qint32 maintNbr, const QDate &date = QDate(2004, 1, 1), qint32 mileage = 0,
                       double cost = 0);
