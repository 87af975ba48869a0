#include "vdrFuzzSupport.h"

#include "vdrExportTSV.h"
#include "vdrExportTable.h"
#include "vdrExportXML.h"

#include "kvxStreamFile.h"
#include "vdrCars.h"
#include "vdrCarsUDF.h"
#include "vdrDatabaseTables.h"
#include "vdrFormatSettings.h"
#include "vdrMaint.h"
#include "vdrMaintNotes.h"
#include "vdrMaintRepairs.h"
#include "vdrOptions.h"
#include "vdrRepairs.h"
#include "vdrSortOrder.h"
#include "vdrUDF.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>

QString FuzzFolder() {
    static const std::unique_ptr<QTemporaryDir> folder = [] {
        TvdrFormatSettings::SetCurrent(TvdrFormatSettings::PointLocale());
        const QString base =
            QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm") : QDir::tempPath();
        auto dir = std::make_unique<QTemporaryDir>(base + QStringLiteral("/vandor-fuzz-XXXXXX"));
        if (!dir->isValid())
            FuzzFail("cannot make the scratch folder");
        return dir;
    }();
    return folder->path();
}

QString FuzzPath(const QString &name) {
    return FuzzFolder() + QLatin1Char('/') + name;
}

void WriteFuzzFile(const QString &path, const QByteArray &bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
        FuzzFail("cannot write a scratch file");
}

QByteArray FuzzBytes(const uint8_t *data, size_t size) {
    return QByteArray(reinterpret_cast<const char *>(data), qsizetype(size));
}

TvdrFuzzDatabase::TvdrFuzzDatabase() : m_db(std::make_unique<TkvxStreamFile>()) {
    const QString path = FuzzPath(QStringLiteral("Vandor.dat"));
    QFile::remove(path);
    m_db->Open(path, false);
    Bind();
}

TvdrFuzzDatabase::~TvdrFuzzDatabase() {
    UnbindTables();
    const QString path = m_db->FileName();
    m_db->Close();
    QFile::remove(path);
}

void TvdrFuzzDatabase::Bind() {
    BindTables(m_db.get());
}

namespace {

TvdrStringList *const *AllTables() {
    static TvdrStringList *const tables[] = {&Options(),      &Repairs(),    &Maint(),
                                             &MaintRepairs(), &MaintNotes(), &Cars(),
                                             &UDF(),          &CarsUDF(),    &SortOrder()};
    return tables;
}
constexpr int kTables = 9;

QStringList TableTexts() {
    QStringList texts;
    for (int i = 0; i < kTables; ++i)
        texts.append(AllTables()[i]->Text());
    return texts;
}

QByteArray FileBytes(const QString &path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    return file.readAll();
}

} // namespace

void TvdrFuzzDatabase::CheckReload() {
    TvdrStringList *const *tables = AllTables();
    const QStringList inMemory = TableTexts();
    UnbindTables();
    Bind();
    for (int i = 0; i < inMemory.size(); ++i)
        if (tables[i]->Text() != inMemory[i])
            FuzzFail(qPrintable(QStringLiteral("%1 loads back different").arg(tables[i]->StreamId())));
}

void ExportToMemory() {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    TvdrExportXML::WriteDocument(buffer, QStringLiteral("the document"));
    for (const TvdrExportTable &table : ExportTables())
        TvdrExportTSV::WriteFile(table, buffer, table.Name);
}

void FuzzFail(const char *what) {
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

void CheckImport(const std::function<void()> &import) {
    TvdrFuzzDatabase database;
    const QStringList tables = TableTexts();
    const QByteArray file = FileBytes(database.Db().FileName());
    try {
        import();
    } catch (const std::exception &) {
        // The whole file is checked before the first change.
        if (TableTexts() != tables)
            FuzzFail("a failed import changed the tables");
        if (FileBytes(database.Db().FileName()) != file)
            FuzzFail("a failed import changed the database file");
        ExportToMemory();
        return;
    }
    ExportToMemory();
    database.CheckReload();
}
