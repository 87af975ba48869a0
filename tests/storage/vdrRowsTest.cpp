#include "vdrRows.h"

#include "vdrCodePage.h"

#include <QStringList>
#include <gtest/gtest.h>

#include <random>

namespace {

QByteArray Joined(const QList<QByteArray> &rows) {
    QByteArray text;
    for (const QByteArray &row : rows)
        text += row + "\r\n";
    return text;
}

QList<QByteArray> RowsOf(const TvdrRows &rows) {
    QList<QByteArray> list;
    for (qsizetype i = 0; i < rows.size(); ++i)
        list.append(rows.At(i).toByteArray());
    return list;
}

} // namespace

// Loaded text is split by the line model, and a text that is already every
// row followed by CR LF is saved as it is: the buffer itself, no copy.
TEST(Rows, SplitFollowsTheLineModelAndSavesAPackedTextWithoutACopy) {
    QList<qsizetype> seen;
    TvdrRows rows = TvdrRows::Split(QByteArray("a\r\nb\rc\nd"), [&seen](qsizetype i, QByteArrayView row) {
        seen.append(i);
        EXPECT_FALSE(row.contains('\r') || row.contains('\n'));
    });
    EXPECT_EQ(RowsOf(rows), QList<QByteArray>({"a", "b", "c", "d"}));
    EXPECT_EQ(seen, QList<qsizetype>({0, 1, 2, 3}));
    EXPECT_EQ(rows.StreamText(), QByteArray("a\r\nb\r\nc\r\nd\r\n"));

    const auto none = [](qsizetype, QByteArrayView) {};
    EXPECT_EQ(RowsOf(TvdrRows::Split(QByteArray("a\r\n\r\n\nb\r\n"), none)),
              QList<QByteArray>({"a", "", "", "b"}));
    EXPECT_EQ(RowsOf(TvdrRows::Split(QByteArray("a\r\nb\0\r\nlost", 12), none)),
              QList<QByteArray>({"a", "b"}));
    EXPECT_TRUE(TvdrRows::Split(QByteArray(), none).isEmpty());

    const QByteArray text("0000001=caf\xE9\r\n0000002=x\r\n");
    TvdrRows packed = TvdrRows::Split(text, none);
    EXPECT_EQ(packed.Text(0), QStringLiteral("0000001=caf\u00E9"));
    EXPECT_EQ(packed.StreamText().constData(), text.constData()) << "the loaded text is saved as it is";
    EXPECT_EQ(packed.Loose(), 0);
}

// Rows changed one way and another keep their neighbours as they were; the
// text a save writes is always every row followed by CR LF, and a copy
// taken before keeps what it saw, even of a row written over in place.
TEST(Rows, ChangesLeaveNeighboursAndCopiesAloneAndSavesPackTheRows) {
    std::mt19937 rng(11);
    TvdrRows rows;
    QList<QByteArray> model;
    const auto randomRow = [&rng] {
        QByteArray row;
        for (int n = int(rng() % 9); n > 0; --n)
            row += char("ab=\t01\xE9\x80"[rng() % 8]);
        return row;
    };
    for (int step = 0; step < 4000; ++step) {
        const qsizetype at = model.isEmpty() ? 0 : qsizetype(rng() % model.size());
        switch (rng() % 9) {
        case 0:
        case 1: {
            const QByteArray row = randomRow();
            rows.Append(row);
            model.append(row);
            break;
        }
        case 2: {
            const QByteArray row = randomRow();
            rows.Insert(at, row);
            model.insert(at, row);
            break;
        }
        case 3:
            if (!model.isEmpty()) {
                // As long as before, sometimes: written over where it stands.
                QByteArray row = model[at];
                if (!row.isEmpty() && rng() % 2)
                    row[0] = 'Z';
                else
                    row = randomRow();
                const TvdrRows copy = rows;
                const QList<QByteArray> before = model;
                rows.Replace(at, row);
                model[at] = row;
                ASSERT_EQ(RowsOf(copy), before) << "step " << step;
            }
            break;
        case 4:
            if (!model.isEmpty()) {
                rows.Remove(at);
                model.removeAt(at);
            }
            break;
        case 5:
            if (!model.isEmpty()) {
                rows.Remove(model.size() - 1);
                model.removeLast();
            }
            break;
        case 6: {
            rows.BeginRow();
            rows.Put(QByteArrayView("key\t"));
            rows.Put(QStringView(u"\u00E9\u20AC\u0416"));
            rows.EndRow();
            model.append(QByteArray("key\t\xE9\x80?"));
            break;
        }
        case 7: {
            const QByteArray text = rows.StreamText();
            ASSERT_EQ(text, Joined(model)) << "step " << step;
            ASSERT_EQ(rows.Loose(), 0);
            break;
        }
        default: {
            TvdrRows more;
            QList<QByteArray> added;
            for (int n = int(rng() % 4); n > 0; --n) {
                added.append(randomRow());
                more.Append(added.last());
            }
            EXPECT_EQ(rows.Absorb(std::move(more)), model.size());
            model.append(added);
            break;
        }
        }
        ASSERT_EQ(RowsOf(rows), model) << "step " << step;
    }
    EXPECT_EQ(rows.StreamText(), Joined(model));
}

TEST(Rows, SelectSortAndRemovePickRowsWithoutTouchingTheirBytes) {
    TvdrRows rows;
    for (const char *row : {"d", "b", "a", "c", "b2"})
        rows.Append(QByteArrayView(row));
    rows.StableSort([](QByteArrayView a, QByteArrayView b) { return a.first(1) < b.first(1); });
    EXPECT_EQ(RowsOf(rows), QList<QByteArray>({"a", "b", "b2", "c", "d"})) << "stable";
    rows.RemoveIf([](QByteArrayView row) { return row.startsWith("b"); });
    EXPECT_EQ(RowsOf(rows), QList<QByteArray>({"a", "c", "d"}));
    EXPECT_EQ(rows.Loose(), 7);
    rows.Select({2, 0});
    EXPECT_EQ(RowsOf(rows), QList<QByteArray>({"d", "a"}));
    EXPECT_EQ(rows.StreamText(), QByteArray("d\r\na\r\n"));
    EXPECT_EQ(rows.Loose(), 0);

    TvdrRows empty;
    empty.Append(QStringView(u"\u0416x"));
    EXPECT_EQ(empty.Text(0), QStringLiteral("?x")) << "held as a reload gives it back";
    empty.Remove(0);
    EXPECT_EQ(empty.StreamText(), QByteArray()) << "the last row takes its bytes along";
}
