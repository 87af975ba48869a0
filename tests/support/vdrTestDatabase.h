#pragma once

#include "vdrStreamDamage.h"
#include "vdrTestSupport.h"

#include <QDate>
#include <QStringList>

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
    // what the next start of the program sees. `whileClosed` gets the file
    // name while no container holds the file.
    void Reopen(const std::function<void(const QString &fileName)> &whileClosed = {});

private:
    TvdrTempFolder m_folder;
    std::unique_ptr<TkvxStreamFile> m_db;
};

// The built language file's texts in Lang().
void LoadBuiltLanguage();

// A car row as the car view writes it, saved; returns its number.
qint32 StoreCar(int year, const QString &make, const QString &model);

// The messages of the log file so far, without their time and thread.
QStringList LogMessages();

// An event record with the given fields.
TvdrMaintRec MakeEvent(qint32 carNbr, qint32 maintNbr, const QDate &date = QDate(2004, 1, 1),
                       qint32 mileage = 0, double cost = 0);

// Spoils the stored block of stream `id` in the closed container `fileName`
// (one byte of its zlib data), so that it no longer inflates while its TOC
// entry stays sound. Returns the block as it is afterwards.
QByteArray DamageBlock(const QString &fileName, const QString &id);

// Collects the storage layer's log lines and starts with no damaged streams
// known; puts the previous hook back when destroyed.
class TvdrStorageLogCapture {
public:
    TvdrStorageLogCapture();
    ~TvdrStorageLogCapture();
    QStringList Lines;

private:
    TvdrStorageLog m_previous;
};
