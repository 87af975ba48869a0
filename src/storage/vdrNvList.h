#pragma once

#include "vdrStringList.h"

#include <vector>

#include <QList>
#include <QPair>

// A list of name=value rows kept in ascending CompareText order of their
// names, so that a look-up is a binary search. The name is the text before
// the first "="; a row without "=" has an empty name. Names of rows read from
// a stream out of order are put back in order as they load.
class TvdrNvList : public TvdrStringList {
public:
    explicit TvdrNvList(const QString &streamId = QString());

    // The value GetValue gives for a name the list does not hold. It stays in
    // force until set again, so callers set it right before the reads that
    // need it.
    QString DefaultValue() const;
    void SetDefault(const QString &text); // stores it trimmed
    void SetDefault(qint64 number);

    // Binary search for `name` exactly as given: the row index, or -1.
    int IndexOfName(const QString &name) const;
    // The same search without taking the lock: whether `name` is present,
    // and in `index` its row or the row where it belongs.
    bool FindInsertPos(const QString &name, int &index) const;

    // Look-ups trim `name` first. GetValue gives DefaultValue when the
    // trimmed name is blank or missing.
    QString GetValue(const QString &name) const;
    void DeleteName(const QString &name);
    // Replaces the row of `name`, in its ordered place; a blank name or a
    // blank value only removes the row. The value is stored as given. Does
    // not save.
    void SetValue(const QString &name, const QString &value);
    // SetValue of every (name, value) in turn, in one merge with the list
    // instead of an insert into its middle per row. Does not save.
    void SetValues(QList<QPair<QString, QString>> rows);

    static QString NameOf(const QString &row);
    // The same without a copy: valid while `row` is.
    static QStringView NameView(const QString &row);
    static QByteArrayView NameBytes(QByteArrayView row);

    // A row without "=" has no key.
    QString RowProblem(const QString &row) const override;
    QString RowKey(const QString &row) const override;

protected:
    // A row of `Rows` for MergeChanges: "name=value", or the name alone
    // when it removes the name's row.
    struct TRowChange {
        int Row = 0;
        int NameLength = 0;
        bool Removes = false;
    };
    struct TRowChanges {
        TvdrRows Rows;
        std::vector<TRowChange> Changes;
        // "name=value", or the name alone when `value` is null.
        void Add(QStringView name, QStringView value);
    };
    // The merge SetValues ends in, for rows made already with trimmed names
    // (of an unsorted list).
    void MergeChanges(TRowChanges changes);

    // Unsorted, rows are kept in name order (SetValue inserts there).
    bool UnsortedInOrder(QByteArrayView previous, QByteArrayView next) const override;
    void ReorderUnsorted(TvdrRows &rows) const override;
    // Why the row's key is not one record number (FormatKey), or empty.
    static QString NumberKeyProblem(const QString &row);

private:
    QString m_defaultValue;
};
