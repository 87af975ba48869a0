#include "vdrDatabaseTables.h"
#include "kvxStreamFile.h"
#include "vdrCars.h"
#include "vdrMaint.h"
#include "vdrMaintNotes.h"
#include "vdrSortOrder.h"
#include "vdrStreamDamage.h"
#include "vdrTestDatabase.h"

#include <gtest/gtest.h>

#include <atomic>
#include <map>
#include <thread>

namespace {

// Rows that compress poorly, so that the stored streams are large enough to
// be decoded on several threads at once.
QString NoisyRows(int rows, unsigned seed) {
    const QByteArray noise = SeededBytes(rows * 24, seed).toHex();
    QString text;
    for (int i = 0; i < rows; ++i)
        text += QStringLiteral("%1=%2\r\n")
                    .arg(i, 7, 10, QLatin1Char('0'))
                    .arg(QString::fromLatin1(noise.mid(i * 48, 48)));
    return text;
}

std::map<QString, QString> RowsOfEveryTable() {
    std::map<QString, QString> rows;
    for (TvdrStringList *table : DatabaseTables())
        rows[table->StreamId()] = table->Text();
    return rows;
}

} // namespace

TEST(DatabaseTables, BindingLoadsEveryTableAsItsOwnLoadDoesAndNamesTheOneThatCannotBeRead) {
    TvdrTestDatabase database;
    unsigned seed = 1;
    for (TvdrStringList *table : DatabaseTables()) {
        if (table == &SortOrder())
            continue; // left missing: an empty table, and no damage
        table->SetText(NoisyRows(table == &MaintNotes() ? 500 : 4000, seed++));
        table->Save();
    }
    database.Reopen([](const QString &fileName) { DamageBlock(fileName, QStringLiteral("TvdrMaintNotes")); });

    const std::map<QString, QString> bound = RowsOfEveryTable();
    ASSERT_EQ(DamagedStreams().size(), 1);
    EXPECT_EQ(DamagedStreams().first().StreamId, QStringLiteral("TvdrMaintNotes"));
    EXPECT_FALSE(MaintNotes().LoadProblem().isEmpty());
    EXPECT_TRUE(SortOrder().LoadProblem().isEmpty());
    EXPECT_EQ(bound.at(QStringLiteral("TvdrMaintNotes")), QString());
    EXPECT_EQ(bound.at(QStringLiteral("TvdrSortOrder")), QString());
    EXPECT_EQ(bound.at(QStringLiteral("TvdrCars")), NoisyRows(4000, 6));

    for (TvdrStringList *table : DatabaseTables())
        table->Load();
    EXPECT_EQ(RowsOfEveryTable(), bound);
}

TEST(DatabaseTables, ABackgroundLoadGivesTheSameRowsToWhoeverTouchesATableFirst) {
    TvdrTestDatabase database;
    unsigned seed = 1;
    for (TvdrStringList *table : DatabaseTables()) {
        table->SetText(NoisyRows(table == &MaintNotes() ? 500 : 4000, seed++));
        table->Save();
    }
    database.Reopen([](const QString &fileName) { DamageBlock(fileName, QStringLiteral("TvdrMaintNotes")); });
    const std::map<QString, QString> whole = RowsOfEveryTable();

    std::atomic<int> decoded{0};
    BindTables(&database.Db(), TvdrTableLoad::Background, [&decoded] { ++decoded; });
    EXPECT_TRUE(Maint().Lock().Gated());
    EXPECT_FALSE(Cars().Lock().Gated()) << "the tree needs the cars at once";
    // A table touched from another thread while the background still works
    // on it waits for its rows.
    QString events;
    std::thread reader([&events] { events = Maint().Text(); });
    reader.join();
    EXPECT_EQ(events, whole.at(QStringLiteral("TvdrMaint")));
    AwaitTables();
    EXPECT_EQ(decoded.load(), 1);
    EXPECT_EQ(RowsOfEveryTable(), whole);
    ASSERT_EQ(DamagedStreams().size(), 1) << "the damage is found again, in the background";
    EXPECT_EQ(DamagedStreams().first().StreamId, QStringLiteral("TvdrMaintNotes"));

    // Binding anew or unbinding while the background works waits for it.
    BindTables(&database.Db(), TvdrTableLoad::Background);
    BindTables(&database.Db(), TvdrTableLoad::Background);
    EXPECT_EQ(RowsOfEveryTable(), whole);
    BindTables(&database.Db(), TvdrTableLoad::Background);
    UnbindTables();
    for (TvdrStringList *table : DatabaseTables())
        EXPECT_EQ(table->Count(), 0) << table->StreamId().toStdString();
    BindTables(&database.Db());
}
