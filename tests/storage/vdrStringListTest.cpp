#include "vdrStringList.h"
#include "kvxSfFaults.h"
#include "kvxStreamFile.h"
#include "vdrCodePage.h"
#include "vdrError.h"
#include "vdrLineModel.h"
#include "vdrNvList.h"
#include "vdrStreamDamage.h"
#include "vdrTestDatabase.h"
#include "vdrTestSupport.h"

#include <algorithm>
#include <gtest/gtest.h>

#include <memory>
#include <random>

namespace {

class BoundListTest : public ::testing::Test {
protected:
    TvdrTempFolder folder;
    TkvxStreamFile db;
    void SetUp() override { db.Open(folder.File(QStringLiteral("Vandor.dat")), false); }
};

// Bytes shaped like table rows, with what the fast paths must notice at
// every position: breaks of each kind, NUL, "=", case and bytes of 0x80 or
// more (the undefined 0x81 among them).
QByteArray RowLikeBytes(std::mt19937 &rng) {
    static const QByteArray pieces[] = {"0000012\t", "0000013=", "\r\n", "\r",   "\n",   "=",    "\t",
                                        "a",         "A",        "\xE9", "\xC9", "\x80", "\x81", "e"};
    QByteArray bytes;
    const int count = int(rng() % 60);
    for (int i = 0; i < count; ++i) {
        const unsigned pick = rng() % 40;
        if (pick < std::size(pieces))
            bytes += pieces[pick];
        else if (pick == 39 && rng() % 8 == 0)
            bytes += '\0';
        else
            bytes += QByteArray(int(rng() % 20), char('0' + rng() % 10));
    }
    return bytes;
}

// The four orders a table's rows are loaded into.
std::unique_ptr<TvdrStringList> ListOfKind(int kind, const QString &id) {
    std::unique_ptr<TvdrStringList> list;
    if (kind < 2)
        list = std::make_unique<TvdrStringList>(id);
    else
        list = std::make_unique<TvdrNvList>(id);
    list->SetSorted(kind % 2 == 1);
    return list;
}

} // namespace

TEST(StringListLines, EveryLineEndsWithCrLfAndAnyBreakReadsBack) {
    TvdrStringList list;
    list.SetText(QStringLiteral("a\r\nb\rc\nd"));
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(list.Text(), QStringLiteral("a\r\nb\r\nc\r\nd\r\n"));

    // A break at the very end makes no further line; inner empty lines stay.
    list.SetText(QStringLiteral("a\r\n\r\n\nb\r\n"));
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(list.Get(1), QString());
    EXPECT_EQ(list.Get(3), QStringLiteral("b"));

    // NUL ends the text.
    list.SetText(QStringLiteral("a\r\nb") + QChar(0) + QStringLiteral("\r\nlost"));
    EXPECT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Get(1), QStringLiteral("b"));

    list.SetText(QString());
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.Text(), QString());
}

TEST(StringListLines, ByteCountsHoldAtEveryLengthAndAlignment) {
    QByteArray text;
    for (int i = 0; i < 70; ++i)
        text += (i % 3 == 0) ? '\n' : char(0x80 + i);
    for (int from = 0; from < 17; ++from)
        for (int to = from; to <= text.size(); ++to)
            ASSERT_EQ(vdrLineModel::CountBytes(text.cbegin() + from, text.cbegin() + to, '\n'),
                      std::count(text.cbegin() + from, text.cbegin() + to, '\n'))
                << from << ".." << to;
    // Long runs of nothing else: more than a byte's worth per lane.
    const QByteArray breaks(20000, '\n');
    for (const qsizetype size : {4079, 4080, 4081, 4096, 20000})
        EXPECT_EQ(vdrLineModel::CountBytes(breaks.cbegin(), breaks.cbegin() + size, '\n'), size);
}

TEST(StringListLines, SortedListsKeepOrderAndIgnoreEqualLinesAddedToThem) {
    TvdrStringList list;
    list.SetSorted(true);
    EXPECT_EQ(list.Add(QStringLiteral("0000002\t0000001")), 0);
    EXPECT_EQ(list.Add(QStringLiteral("0000001\t0000005")), 0);
    EXPECT_EQ(list.Add(QStringLiteral("0000020\t0000000")), 2);
    // Equal without regard to case: nothing added, the existing index back.
    list.Add(QStringLiteral("0000003\tOil"));
    EXPECT_EQ(list.Add(QStringLiteral("0000003\tOIL")), 2);
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(list.Get(2), QStringLiteral("0000003\tOil"));
    EXPECT_THROW(list.Put(0, QStringLiteral("x")), EvdrError);
    EXPECT_THROW(list.Get(4), EvdrError);
    EXPECT_THROW(list.Delete(-1), EvdrError);

    TvdrStringList plain;
    plain.Add(QStringLiteral("b"));
    plain.Add(QStringLiteral("a"));
    plain.Add(QStringLiteral("a"));
    EXPECT_EQ(plain.Count(), 3) << "an unsorted list keeps what it is given";
    plain.SetSorted(true);
    EXPECT_EQ(plain.Text(), QStringLiteral("a\r\na\r\nb\r\n")) << "sorting keeps every line";
    plain.Add(QStringLiteral("A"));
    EXPECT_EQ(plain.Count(), 3) << "an equal line added afterwards is not";

    // Many lines at once, as one by one: equal ones (also among the new)
    // add nothing, the first of them is the one kept.
    list.AddLines({QStringLiteral("0000009\tz"), QStringLiteral("0000003\toil"), QStringLiteral("0000000\ta"),
                   QStringLiteral("0000009\tZ"), QStringLiteral("0000002\t0000001")});
    EXPECT_EQ(list.Text(),
              QStringLiteral("0000000\ta\r\n0000001\t0000005\r\n0000002\t0000001\r\n0000003\tOil\r\n"
                             "0000009\tz\r\n0000020\t0000000\r\n"));
}

TEST_F(BoundListTest, SavesAndLoadsCodePage1252Text) {
    TvdrStringList list(QStringLiteral("TvdrCars"));
    list.SetStreamFile(&db);
    list.Add(QStringLiteral("0000000=2004\tCitro\u00EBn\t\u20AC-Modell"));
    list.Add(QString());
    list.Save();
    EXPECT_EQ(db.ReadStream(QStringLiteral("TvdrCars")),
              QByteArray("0000000=2004\tCitro\xEBn\t\x80-Modell\r\n\r\n"));

    TvdrStringList again(QStringLiteral("TvdrCars"));
    again.SetStreamFile(&db);
    again.Add(QStringLiteral("replaced by the load"));
    again.Load();
    EXPECT_EQ(again.Count(), 2);
    EXPECT_EQ(again.Get(0), QStringLiteral("0000000=2004\tCitro\u00EBn\t\u20AC-Modell"));
}

TEST_F(BoundListTest, MissingOrDamagedStreamsLoadEmptyAndSavingRecreatesThem) {
    TvdrStringList list(QStringLiteral("TvdrUDF"));
    list.Add(QStringLiteral("unbound"));
    list.Save(); // unbound: nothing written
    list.Load();
    EXPECT_EQ(list.Count(), 1);
    EXPECT_EQ(db.Toc().Count(), 0);

    list.SetStreamFile(&db);
    list.Load();
    EXPECT_EQ(list.Count(), 0) << "a missing stream loads empty";
    list.Add(QStringLiteral("row"));
    list.Save();
    db.DeleteStream(QStringLiteral("TvdrUDF"));
    list.Load();
    EXPECT_EQ(list.Count(), 0);
    list.Add(QStringLiteral("row"));
    list.Save();
    EXPECT_TRUE(db.Toc().Exists(QStringLiteral("TvdrUDF")));

    // A block that no longer inflates.
    const QString file = db.FileName();
    db.Close();
    QByteArray bytes = ReadWholeFile(file);
    bytes[5] = char(bytes[5] ^ 0x7F);
    WriteWholeFile(file, bytes);
    db.Open(file, true);
    list.Add(QStringLiteral("in memory"));
    list.Load();
    EXPECT_EQ(list.Count(), 0);
    list.SetStreamFile(nullptr);
}

TEST_F(BoundListTest, ASortedListLoadedOutOfOrderIsPutBackInOrder) {
    db.WriteStream(QStringLiteral("TvdrMaintRepairs"), 0,
                   QByteArray("0000002\t0000000\t0000001\r\n0000001\t0000000\t0000004\r\n"
                              "0000002\t0000000\t0000001\r\n"));
    TvdrStringList list(QStringLiteral("TvdrMaintRepairs"));
    list.SetSorted(true);
    list.SetStreamFile(&db);
    list.Load();
    ASSERT_EQ(list.Count(), 2);
    EXPECT_EQ(list.Get(0), QStringLiteral("0000001\t0000000\t0000004"));
    int index = -1;
    EXPECT_TRUE(list.Find(QStringLiteral("0000002\t0000000\t0000001"), index));
    EXPECT_EQ(index, 1);
}

// The lines are as stored after a load that read them exactly and after a
// save, and no longer after any change: only then may a save be left out,
// and only for the changes since that state.
TEST_F(BoundListTest, ASaveIsLeftOutOnlyForChangesSinceTheLinesWereAsStored) {
    const QString id = QStringLiteral("TvdrMaintNotes");
    TvdrStringList list(id);
    list.SetSorted(true);
    list.SetStreamFile(&db);
    EXPECT_EQ(list.StoredMark(), -1) << "nothing read yet";
    for (const auto &[text, exact] :
         std::vector<std::pair<QByteArray, bool>>{{"a\r\nb\r\n", true},
                                                  {"a\nb\n", false}, // a save writes CR LF
                                                  {"", true},
                                                  {"a\r\nb", false},        // and ends the last line
                                                  {"b\r\na\r\n", false},    // and puts the lines in order
                                                  {"a\r\na\r\n", false}}) { // once each
        db.WriteStream(id, 0, text);
        list.Load();
        EXPECT_EQ(list.StoredMark() >= 0, exact) << text.toStdString();
    }
    const qint64 stale = list.StoredMark();
    list.Add(QStringLiteral("c"));
    list.SaveUnlessUnchanged(stale, true); // no mark of a stored state
    EXPECT_EQ(db.ReadStream(id), QByteArray("a\r\nc\r\n"));

    qint64 mark = list.StoredMark();
    ASSERT_GE(mark, 0) << "saved";
    const qint64 flushes = TkvxSfFaults::Flushes();
    list.Save();
    EXPECT_EQ(TkvxSfFaults::Flushes(), flushes) << "lines as stored: nothing written";
    list.Add(QStringLiteral("d"));
    list.Delete(2);
    EXPECT_EQ(list.StoredMark(), -1);
    list.SaveUnlessUnchanged(mark, true);
    EXPECT_EQ(TkvxSfFaults::Flushes(), flushes) << "changed back: nothing written";
    mark = list.StoredMark();
    EXPECT_GE(mark, 0) << "the lines are as stored again";

    list.Add(QStringLiteral("e"));
    list.Save(); // a save after the mark: the mark no longer holds
    list.Delete(2);
    list.SaveUnlessUnchanged(mark, true);
    EXPECT_EQ(db.ReadStream(id), QByteArray("a\r\nc\r\n"));

    // What the list knows of its stream ends with a write of the stream by
    // anyone else, and with any change the container undoes.
    db.WriteStream(id, 0, QByteArray("x\r\n"));
    list.Save();
    EXPECT_EQ(db.ReadStream(id), QByteArray("a\r\nc\r\n"));
    db.BeginTransaction();
    list.Add(QStringLiteral("f"));
    list.Save();
    db.RollbackTransaction();
    EXPECT_EQ(db.ReadStream(id), QByteArray("a\r\nc\r\n"));
    list.Save();
    EXPECT_EQ(db.ReadStream(id), QByteArray("a\r\nc\r\nf\r\n"));
    db.Close();
    db.Open(folder.File(QStringLiteral("Vandor.dat")), false);
    EXPECT_EQ(list.StoredMark(), -1) << "the container was opened anew";

    // Rebound, the lines are not known to be those of the new stream.
    list.SetStreamFile(&db);
    EXPECT_EQ(list.StoredMark(), -1);
    list.SetStreamFile(nullptr);
}

TEST_F(BoundListTest, ARowLongerThanARowMayBeIsNeitherSavedNorLoaded) {
    TvdrStorageLogCapture log;
    TvdrStringList list(QStringLiteral("TvdrMaintNotes"));
    list.SetStreamFile(&db);
    list.Add(QString(1048576, QLatin1Char('n')));
    list.Save();
    list.Add(QStringLiteral("b") + QString(1048576, QLatin1Char('n')));
    EXPECT_EQ(ErrorMessageOf([&] { list.Save(); }), "TvdrMaintNotes cannot be saved: row 1 is 1048577 "
                                                    "characters long, more than the 1048576 a row may hold");
    EXPECT_EQ(db.ReadStream(QStringLiteral("TvdrMaintNotes")).size(), 1048576 + 2)
        << "the file keeps its table";

    // Not written by the program: the table loads empty and keeps its bytes.
    db.WriteStream(QStringLiteral("TvdrMaintNotes"), 0, "a\r\n" + QByteArray(1048577, 'n') + "\r\n");
    list.Load();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.LoadProblem(),
              QStringLiteral("stream TvdrMaintNotes is damaged (row 1 is 1048577 characters "
                             "long, more than the 1048576 a row may hold); its bytes are kept as "
                             "TvdrMaintNotes.damaged"));
}

namespace {

// A container whose stream TvdrCars no longer inflates, opened as asked.
class DamagedTableTest : public ::testing::Test {
protected:
    TvdrStorageLogCapture log;
    TvdrTempFolder folder;
    TkvxStreamFile db;
    QByteArray damaged;

    void OpenDamaged(bool readOnly) {
        const QString file = folder.File(QStringLiteral("Vandor.dat"));
        db.Open(file, false);
        db.WriteStream(QStringLiteral("TvdrOptions"), 0, QByteArray("TfrmMain=1\r\n"));
        db.WriteStream(QStringLiteral("TvdrCars"), 0,
                       QByteArray("0000000=2004\tFord\tTaurus\r\n0000001=1998\tVW\r\n"));
        db.Close();
        damaged = DamageBlock(file, QStringLiteral("TvdrCars"));
        db.Open(file, readOnly);
    }
};

} // namespace

TEST_F(DamagedTableTest, ItsBytesAreKeptOnceAndOutliveTheNextSave) {
    OpenDamaged(false);
    TvdrStringList cars(QStringLiteral("TvdrCars"));
    cars.SetStreamFile(&db);
    cars.Add(QStringLiteral("stale"));
    cars.Load();
    EXPECT_EQ(cars.Count(), 0);
    EXPECT_EQ(db.RawBlock(QStringLiteral("TvdrCars.damaged")), damaged) << "byte-identical copy";
    ASSERT_EQ(log.Lines.size(), 1);
    EXPECT_EQ(log.Lines[0],
              QStringLiteral("stream TvdrCars is damaged (damaged block: zlib error -3 (invalid code lengths "
                             "set)); its bytes are kept as TvdrCars.damaged"));
    EXPECT_EQ(cars.LoadProblem(), log.Lines[0]);
    ASSERT_EQ(DamagedStreams().size(), 1);
    EXPECT_EQ(DamagedStreams()[0].StreamId, QStringLiteral("TvdrCars"));
    EXPECT_EQ(DamagedStreams()[0].KeptAs, QStringLiteral("TvdrCars.damaged"));
    EXPECT_EQ(DamagedStreams()[0].FileName, db.FileName());

    // The same damage loaded again finds its copy.
    const int streams = db.Toc().Count();
    cars.Load();
    EXPECT_EQ(db.Toc().Count(), streams);
    EXPECT_FALSE(db.Toc().Exists(QStringLiteral("TvdrCars.damaged2")));
    EXPECT_EQ(DamagedStreams().size(), 1);

    // Saving the (empty) table writes over the damaged stream, not the copy.
    cars.Add(QStringLiteral("0000000=2010\tKia\tRio"));
    cars.Save();
    EXPECT_EQ(db.RawBlock(QStringLiteral("tvdrcars.DAMAGED")), damaged);
    cars.Load();
    EXPECT_EQ(cars.Count(), 1);
    EXPECT_EQ(cars.LoadProblem(), QString());

    // New damage with other bytes gets the next free Id.
    const QString file = db.FileName();
    db.Close();
    const QByteArray again = DamageBlock(file, QStringLiteral("TvdrCars"));
    db.Open(file, false);
    cars.Load();
    EXPECT_EQ(db.RawBlock(QStringLiteral("TvdrCars.damaged2")), again);
    EXPECT_EQ(db.RawBlock(QStringLiteral("TvdrCars.damaged")), damaged);
    EXPECT_TRUE(cars.LoadProblem().endsWith(QStringLiteral("kept as TvdrCars.damaged2")));

    // Sound and missing streams are no damage.
    log.Lines.clear();
    TvdrStringList options(QStringLiteral("TvdrOptions"));
    options.SetStreamFile(&db);
    options.Load();
    TvdrStringList udf(QStringLiteral("TvdrUDF"));
    udf.SetStreamFile(&db);
    udf.Load();
    EXPECT_EQ(options.Count(), 1);
    EXPECT_EQ(options.LoadProblem() + udf.LoadProblem(), QString());
    EXPECT_TRUE(log.Lines.isEmpty());
    cars.SetStreamFile(nullptr);
}

TEST_F(DamagedTableTest, AReadOnlyContainerOnlyReportsIt) {
    OpenDamaged(true);
    const QByteArray before = ReadWholeFile(db.FileName());
    TvdrStringList cars(QStringLiteral("TvdrCars"));
    cars.SetStreamFile(&db);
    cars.Load();
    EXPECT_EQ(cars.Count(), 0);
    EXPECT_EQ(ReadWholeFile(db.FileName()), before);
    EXPECT_FALSE(db.Toc().Exists(QStringLiteral("TvdrCars.damaged")));
    ASSERT_EQ(log.Lines.size(), 1);
    EXPECT_TRUE(
        log.Lines[0].endsWith(QStringLiteral("the file is open read-only, so its bytes are not kept")))
        << log.Lines[0].toStdString();
    ASSERT_EQ(DamagedStreams().size(), 1);
    EXPECT_EQ(DamagedStreams()[0].KeptAs, QString());
    EXPECT_FALSE(cars.LoadProblem().isEmpty());
}

// A load decodes, cuts and checks the order on the bytes in one pass; the
// text path decodes first, then cuts and checks on characters. Both must
// give the same rows in the same order, whatever the bytes.
TEST_F(BoundListTest, LoadingBytesGivesTheRowsOfDecodingThemFirst) {
    std::mt19937 rng(2024);
    const QString id = QStringLiteral("TvdrMaint");
    for (int round = 0; round < 400; ++round) {
        const QByteArray bytes = RowLikeBytes(rng);
        db.WriteStream(id, 0, bytes);
        for (int kind = 0; kind < 4; ++kind) {
            const std::unique_ptr<TvdrStringList> loaded = ListOfKind(kind, id);
            loaded->SetStreamFile(&db);
            loaded->Load();
            const std::unique_ptr<TvdrStringList> expected = ListOfKind(kind, QString());
            expected->SetText(vdrCodePage::ToUnicode(bytes));
            ASSERT_EQ(loaded->Text(), expected->Text())
                << "kind " << kind << " of " << bytes.toPercentEncoding().constData();
            loaded->SetStreamFile(nullptr);
        }
    }
}

// Loaded rows share the decoded text; each still changes alone, and a row
// kept outlives its table.
TEST_F(BoundListTest, LoadedRowsShareTheirTextYetChangeAlone) {
    const QString id = QStringLiteral("TvdrMaint");
    db.WriteStream(id, 0, "alpha\r\nb\xE9ta\r\ngamma\r\n");
    TvdrStringList list(id);
    list.SetStreamFile(&db);
    list.Load();
    QString changed = list.Get(1);
    changed[0] = QLatin1Char('B');
    QString grown = list.Get(1);
    grown += QStringLiteral("!!!");
    EXPECT_EQ(changed, QStringLiteral("B\u00E9ta"));
    EXPECT_EQ(grown, QStringLiteral("b\u00E9ta!!!"));
    EXPECT_EQ(list.Text(), QStringLiteral("alpha\r\nb\u00E9ta\r\ngamma\r\n"));
    list.Put(0, QStringLiteral("ALPHA"));
    EXPECT_EQ(grown, QStringLiteral("b\u00E9ta!!!"));
    QString kept = list.Get(2);
    list.SetStreamFile(nullptr);
    list.Clear();
    changed.clear();
    grown.clear();
    EXPECT_EQ(kept, QStringLiteral("gamma"));
    kept += QStringLiteral("X");
    EXPECT_EQ(kept, QStringLiteral("gammaX"));
}

// Rows are held as the stream holds them: a character it cannot hold is
// "?" from the start, and rows that came from the stream unchanged are
// written back from the very buffer they were read into.
TEST_F(BoundListTest, RowsHoldWhatAReloadGivesBack) {
    const QString id = QStringLiteral("TvdrMaintNotes");
    TvdrStringList list(id);
    list.SetStreamFile(&db);
    QStringList rows;
    for (int i = 0; i < 3000; ++i)
        rows.append(QStringLiteral("row %1 caf\u00E9 ").arg(i, 5, 10, QLatin1Char('0')) +
                    QString(40, QLatin1Char('x')));
    list.AddLines(rows);
    list.Put(7, QStringLiteral("\u0142\u00E9"));
    rows[7] = QStringLiteral("?\u00E9");
    EXPECT_EQ(list.Get(7), rows[7]);
    list.Save();
    list.Load();
    EXPECT_EQ(list.Text(), rows.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"));
    EXPECT_EQ(list.Snapshot().StreamText(), db.ReadStream(id));
}

// A save encodes the rows straight into the stream: the same bytes as the
// table's text encoded whole, ASCII runs of any length included.
TEST_F(BoundListTest, SavingEncodesTheRowsAsTheirTextEncodedWhole) {
    std::mt19937 rng(77);
    const QString chars[] = {
        QStringLiteral("a"),          QStringLiteral("\u00E9"),     QStringLiteral("\u20AC"),
        QStringLiteral("\u0416"),     QStringLiteral("\U0001F600"), QStringLiteral("\t"),
        QStringLiteral("0123456789"), QString(QChar(0x81)),         QString(QChar(0x80))};
    TvdrStringList list(QStringLiteral("TvdrMaintNotes"));
    list.SetStreamFile(&db);
    for (int round = 0; round < 200; ++round) {
        list.Clear();
        for (int row = int(rng() % 5); row > 0; --row) {
            QString line;
            for (int n = int(rng() % 12); n > 0; --n)
                line += chars[rng() % std::size(chars)];
            list.Add(line);
        }
        list.Save();
        ASSERT_EQ(db.ReadStream(QStringLiteral("TvdrMaintNotes")), vdrCodePage::FromUnicode(list.Text()));
    }
    list.SetStreamFile(nullptr);
}
