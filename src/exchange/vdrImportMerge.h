#pragma once

#include "vdrStringList.h"

#include <QHash>
#include <QMultiHash>
#include <QPair>
#include <QSet>
#include <QString>
#include <QStringList>

#include <functional>

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
// otherwise land on the database's own rows. The caller saves each table.
class TvdrImportMerge {
public:
    // Each returns the number used in the database (-1 for a blank
    // description, which is not stored).
    qint32 AddCar(const QString &oldCarNbr, qint32 year, const QString &make, const QString &model,
                  const QString &pictureExtension);
    qint32 AddUdf(const QString &oldUdfNbr, qint32 sortOrder, const QString &name);
    qint32 AddRepair(const QString &oldRepairNbr, const QString &description);

    // Each returns whether the row was taken.
    bool AddCarValue(const QString &oldCarNbr, const QString &oldUdfNbr, const QString &value);
    bool AddEvent(const QString &oldCarNbr, qint32 maintNbr, qint32 dayNumber, qint32 mileage, double cost);
    bool AddLink(const QString &oldCarNbr, qint32 maintNbr, const QString &oldRepairNbr);
    // `note` in stored form (or as typed).
    bool AddNote(const QString &oldCarNbr, qint32 maintNbr, const QString &note);
    // `fields` are the stored forms of the sort fields; a user-defined one is
    // renumbered to the database's field, or dropped when the file does not
    // define its field. A sort order without fields stays without fields.
    void AddSortOrder(const QString &name, const QString &number, const QStringList &fields);

    // The picture file "CarPic%9.9d.<extension>" of the old car in `folder`,
    // read byte for byte into the new car's picture stream. Nothing happens
    // for an empty extension; an extension that is not plain letters and
    // digits is never used to open a file (the picture is skipped), nor is an
    // old number that is not an integer. A missing file raises, naming it.
    void AddPicture(const QString &folder, const QString &oldCarNbr, const QString &extension);

    // The new numbers of old ones; -1 when the file did not define them.
    qint32 NewCarNbr(const QString &old) const { return Find(m_cars, old); }
    qint32 NewUdfNbr(const QString &old) const { return Find(m_udfs, old); }
    qint32 NewRepairNbr(const QString &old) const { return Find(m_repairs, old); }

    // How many rows were skipped, for the caller's report.
    int Skipped() const { return m_skipped; }

    static bool IsPlainExtension(const QString &extension);

private:
    // Rows of one table by case-folded text, with the numbers this import
    // has taken already.
    struct TTextIndex {
        bool Built = false;
        QMultiHash<QString, QPair<qint32, QString>> Rows; // folded text -> (number, text)
        QSet<qint32> Taken;

        // -1 when no row may be taken.
        qint32 Match(const QString &text) const;
        void Add(qint32 number, const QString &text);
    };

    static QString Key(const QString &old);
    static qint32 Find(const QHash<QString, qint32> &map, const QString &old);
    bool Skip();

    QHash<QString, qint32> m_cars;
    QHash<QString, qint32> m_udfs;
    QHash<QString, qint32> m_repairs;
    // New car and field numbers follow the first-free-number rule, the walk
    // resumed where it stopped: an import only adds rows right behind the run
    // or past its end, so a file of n rows walks the table once, not n times.
    TvdrStringList::TvdrNumberWalk m_carWalk;
    TvdrStringList::TvdrNumberWalk m_udfWalk;
    TTextIndex m_udfTexts;
    TTextIndex m_repairTexts;
    int m_skipped = 0;
};
