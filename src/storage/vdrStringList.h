#pragma once

#include "vdrLock.h"

#include <QString>
#include <QStringList>

#include <functional>

class TkvxStreamFile;

// An ordered list of text lines bound to one stream of the container: the
// base of every table. Loaded whole and saved whole; in the stream every line
// ends with CR LF and the text is code page 1252.
//
// Sorted lists keep their lines in ascending CompareText order; a line added
// to one that CompareText finds equal to a line it holds is not added. A line
// must not contain CR, LF or NUL: it would come back as several lines (or
// cut short) after a reload, so free text is escaped by its owner first.
//
// Every operation takes the list's lock; the lock is recursive for its
// writer, so operations may call one another while it is held.
class TvdrStringList {
public:
    explicit TvdrStringList(const QString &streamId = QString());
    virtual ~TvdrStringList();
    TvdrStringList(const TvdrStringList &) = delete;
    TvdrStringList &operator=(const TvdrStringList &) = delete;

    QString StreamId() const;
    void SetStreamId(const QString &streamId);
    // Not owned; must stay alive while it is set. Null leaves the list unbound.
    TkvxStreamFile *StreamFile() const;
    void SetStreamFile(TkvxStreamFile *streamFile);
    TvdrLock &Lock() const { return m_lock; }

    bool Sorted() const;
    // Switching on sorts the lines and keeps every one, equal ones too; only
    // lines added afterwards are dropped when equal to one already there.
    void SetSorted(bool sorted);

    // Both do nothing while the list is unbound. A missing or damaged stream
    // loads as an empty list and raises nothing; a damaged one is kept aside
    // first (NoteUnreadableStream). Save lets container errors through.
    void Load();
    void Save();
    // What the last Load found wrong with a stream that is there but could not
    // be read, as one sentence; empty after a sound or missing stream.
    QString LoadProblem() const;

    // Appends, or on a sorted list inserts in order; returns the line's index.
    // On a sorted list an equal line adds nothing and its index is returned.
    int Add(const QString &line);
    // Adds every line as Add does, one after the other, but in one merge
    // with the list instead of an insert into its middle per line.
    void AddLines(QStringList lines);
    // Not allowed on a sorted list. `index` may be Count() to append.
    void Insert(int index, const QString &line);
    void Clear();
    void Delete(int index);
    int Count() const;
    QString Get(int index) const;
    // Not allowed on a sorted list.
    void Put(int index, const QString &line);

    // The lines as they are now, for a walk over many of them without a lock
    // per line: the copy shares the list until either side changes.
    QStringList Snapshot() const;

    // Every line followed by CR LF.
    QString Text() const;
    // Replaces all lines, exactly as Load does with a stream's text.
    void SetText(const QString &text);

    // Binary search of a sorted list: whether `line` is present, and in
    // `index` where it is or would be inserted.
    bool Find(const QString &line, int &index) const;
    // Index of the line equal to `line` under CompareText, or -1.
    int IndexOf(const QString &line) const;

    // Reads a row's number for the key allocation rules: -1 when the row
    // has none.
    using TvdrRowNumber = std::function<int(const QString &row)>;
    // The first number, counting from 0, that the rows do not hold in
    // sequence from the first row. Rows without a number of 0 or more are
    // passed over: a damaged row in front of the run must not make every new
    // key land on a row in use.
    int FirstFreeNumber(const TvdrRowNumber &rowNumber) const;
    // The same walk, resumable: `walk` keeps the row and number it stopped
    // at, so a caller that adds many rows, each at the number found, walks
    // the list once in all.
    struct TvdrNumberWalk {
        int Row = 0;
        int Next = 0;
    };
    int FirstFreeNumber(const TvdrRowNumber &rowNumber, TvdrNumberWalk &walk) const;
    // The number of the last row that has one (of 0 or more), plus one; 0
    // when no row has a number. Rows without one are passed over.
    int OnePastLastNumber(const TvdrRowNumber &rowNumber) const;
    // `text` as a decimal integer, -1 when it is not one.
    static int ParseRowNumber(const QString &text);

    // The shape of this table's rows, for a check of a stream's text
    // (vdrDatabaseCheck): why `row` is not of that shape, empty when it is.
    virtual QString RowProblem(const QString &row) const;
    // The key a look-up finds a well-shaped `row` by; empty when rows are
    // not found by a key or may share one.
    virtual QString RowKey(const QString &row) const;

    // The line model: a line ends at CR, LF or CR LF; NUL ends the text; a
    // break at the very end makes no further empty line.
    static QStringList SplitLines(const QString &text);

protected:
    // For derived classes that already hold the lock (or must not take it).
    const QStringList &Lines() const { return m_lines; }
    // Replaces every line with `lines`, which are in the list's order
    // already. Under the write lock.
    void SetLines(QStringList lines);

    // Brings freshly loaded lines into the order the list promises. Called
    // under the write lock.
    virtual void PutInOrder(QStringList &lines) const;
    // Stable CompareText sort, keeping the first of equal lines.
    static void SortUnique(QStringList &lines);
    // Puts the lines of an unsorted list in the order of `less` (stable).
    void ReorderLines(const std::function<bool(const QString &, const QString &)> &less);

private:
    void ReplaceLines(QStringList lines);
    void CheckIndex(int index, int count) const;
    void CheckUnsorted() const;

    mutable TvdrLock m_lock;
    QString m_streamId;
    TkvxStreamFile *m_streamFile = nullptr;
    bool m_sorted = false;
    QStringList m_lines;
    QString m_loadProblem;
};
