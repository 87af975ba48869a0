#pragma once

#include "vdrCmRtn.h"
#include "vdrStringList.h"

#include <QList>
#include <QPair>

#include <functional>

// A sorted list of tab-separated rows whose leading fields are fixed-width
// keys (FormatKey numbers). Rows of one key prefix stand together, so they
// are found by a binary search and removed or scanned as one run.
//
// A prefix always ends with its TAB: "0000002" + TAB matches car 2's rows
// but never those of car 20, nor of car 20000000 when numbers outgrow seven
// digits.
class TvdrPrefixList : public TvdrStringList {
public:
    explicit TvdrPrefixList(const QString &streamId);

    // FormatKey(a) + TAB, and FormatKey(a) + TAB + FormatKey(b) + TAB.
    static QString KeyPrefix(qint32 a);
    static QString KeyPrefix(qint32 a, qint32 b);

    // Field `n` (from 1) of a row, cut with ExtractWord on TAB, as a number;
    // 0 when it is not an integer.
    static qint32 NumberField(const QString &row, int n);
    static qint32 NumberField(QByteArrayView row, int n);

    // Runs `change`, which touches no row but those under (a, b), and saves
    // unless it left them as the stream holds them: a command that stores
    // an event's repairs or note as they were writes nothing for them.
    void ChangeUnder(qint32 a, qint32 b, const std::function<void()> &change);

protected:
    // Whether the row starts with `keys` record numbers (FormatKey), each
    // followed by a TAB, or is exactly that many when `exact`.
    static bool HasLeadingKeys(const QString &row, int keys, bool exact);
    // The rows that start with `prefix`: [first, end) of the list.
    void PrefixRange(const QString &prefix, int &first, int &end) const;
    // Those rows, each ended by a LF.
    QByteArray RowsUnder(const QString &prefix) const;
    // Removes every row that starts with `prefix`.
    void RemoveByPrefix(const QString &prefix);
    // Removes every row for which `match` holds, in one pass.
    void RemoveWhere(const std::function<bool(QByteArrayView row)> &match);
    // For each row in turn: removes the rows that start with its first
    // `keys` keys (its prefix, see KeyPrefix) and adds the row; so the last
    // row of a prefix is the one that stays. One pass and one merge,
    // whatever the rows' order.
    void ReplaceByPrefix(TvdrRows rows, int keys);
    // Appends the row KeyPrefix(a, b) + `text`, as an import's notes and
    // field values are made.
    static void AppendKeyedRow(TvdrRows &rows, qint32 a, qint32 b, QStringView text);

    // Keys, each followed by a TAB (the last when `tab`), made in place.
    class TKeyText {
    public:
        void Add(qint32 key, bool tab = true);
        QByteArrayView View() const { return QByteArrayView(m_text, m_size); }

    private:
        char m_text[4 * TvdrCmRtn::kKeyBytes];
        qsizetype m_size = 0;
    };
};
