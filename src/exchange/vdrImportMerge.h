#pragma once

#include "vdrImportRows.h"

#include <QHash>
#include <QMultiHash>
#include <QPair>
#include <QSet>
#include <QString>

#include <functional>
#include <vector>

// Merges the rows of an exchange file into the open database, the same way
// for both file kinds: every car becomes a new car, fields and repair
// descriptions are found by name (letter case ignored) or added, sort orders
// are added; nothing in the database is changed or removed.
//
// A field or description of the file is matched to one of the database by
// its text: the same text first, else the same text but for letter case. A
// database row that already took another row of this file is not taken
// again, so texts that differ only in letter case stay apart, and a file
// imported twice finds its own rows of the first time.
//
// Old numbers are the file's own; they are kept in three maps. A row that
// names a car, field or description the file does not define, or a link or
// note of an event the file does not hold, is skipped: its number would
// otherwise land on the database's own rows.
class TvdrImportMerge {
public:
    // The tables of an exchange file, in the order they are merged.
    enum class TTable { Cars, Udfs, Repairs, CarValues, Events, Links, Notes, SortOrders };
    // Fills the part of `rows` that holds `table`; raises when it cannot.
    using TReadTable = std::function<void(TTable table, TvdrImportRows &rows)>;

    // Merges the tables in their order (cars, fields, descriptions, values,
    // events, links, notes, sort orders), saving each after its rows, then
    // stores the pictures, all as one change of the database. Each table is
    // merged in one pass, whatever the order of the file's rows, and its
    // rows are dropped once merged, so the file's rows and the tables they
    // make are not held in full side by side. Before the first table
    // changes, every picture file must be a regular file of at most a
    // stream's size that decodes as its extension says (an empty file is an
    // empty picture); the first that fails raises, naming it.
    void Execute(TvdrImportRows rows);
    // The same, with each table read by `read` right before it is merged:
    // only one table's rows are held beside the tables at a time. A table
    // that fails to read undoes the whole merge, so it still changes nothing.
    void Execute(const QString &pictureFolder, const TReadTable &read);

    // The new numbers of old ones; -1 when the file did not define them.
    qint32 NewCarNbr(qint32 old) const { return m_cars.value(old, -1); }
    qint32 NewUdfNbr(qint32 old) const { return m_udfs.value(old, -1); }
    qint32 NewRepairNbr(qint32 old) const { return m_repairs.value(old, -1); }

    // How many rows were skipped, for the caller's report.
    int Skipped() const { return m_skipped; }

    // Plain letters and digits: the only extensions used to name a picture
    // file, which would otherwise name any path.
    static bool IsPlainExtension(const QString &extension);

private:
    // Rows of one table by case-folded text, with the numbers this import
    // has taken already.
    struct TTextIndex {
        QMultiHash<QString, QPair<qint32, QString>> Rows; // folded text -> (number, text)
        QSet<qint32> Taken;

        // -1 when no row may be taken.
        qint32 Match(const QString &text) const;
        void Add(qint32 number, const QString &text);
    };

    void Check(const TvdrImportRows &rows);
    // With `read`, reads each table first.
    void Write(TvdrImportRows &rows, const TReadTable &read);
    void WriteCars(const QList<TvdrImportRows::TCar> &cars);
    void WriteUdfs(const QList<TvdrImportRows::TUdf> &udfs);
    void WriteRepairs(const QList<TvdrImportRows::TRepair> &repairs);
    void WriteCarValues(QList<TvdrImportRows::TCarValue> values);
    void WriteEvents(QList<TvdrImportRows::TEvent> events);
    void WriteLinks(QList<TvdrImportRows::TLink> links);
    void WriteNotes(QList<TvdrImportRows::TNote> notes);
    void WriteSortOrders(const QList<TvdrImportRows::TSortOrder> &sortOrders);
    void WritePictures(const TvdrImportRows &rows);
    // The picture file of an old car, or empty when its row has no picture
    // or names it unsafely (counted as skipped when `count`).
    QString PicturePath(const TvdrImportRows &rows, const TvdrImportRows::TCar &car, bool count);
    void Skip() { ++m_skipped; }
    static quint64 EventKey(qint32 carNbr, qint32 maintNbr);
    // Whether the car has that event, once the events are merged.
    bool HasEvent(qint32 carNbr, qint32 maintNbr) const;

    QHash<qint32, qint32> m_cars;
    QList<qint32> m_carRows; // the new number of each car row, in file order
    QHash<qint32, qint32> m_udfs;
    QHash<qint32, qint32> m_repairs;
    // The events this import stored (EventKey), sorted: eight bytes each,
    // where a set took about twenty.
    std::vector<quint64> m_events;
    int m_skipped = 0;
};
