#include "kvxSfFile.h"
#include "kvxSfJournal.h"
#include "kvxStreamFile.h"
#include "vdrTestSupport.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <random>
#include <sys/stat.h>

namespace {

using TState = std::map<QString, QByteArray>;

QByteArray Bytes(int size, unsigned seed) {
    std::mt19937 rng(seed);
    QByteArray b(size, Qt::Uninitialized);
    for (int i = 0; i < size; ++i)
        b[i] = (i % 3) ? char(rng() & 0xFF) : char('a' + i % 26);
    return b;
}

// Every live stream of a fresh open, after checking that the TOC covers the
// data region from offset 4 without gaps or overlaps.
TState Opened(const QString &fileName, bool readOnly = false) {
    TkvxStreamFile db;
    db.Open(fileName, readOnly);
    TState state;
    qint64 next = 4;
    for (int i = 0; i < db.Toc().Count(); ++i) {
        const TkvxSfTocEntry &e = db.Toc().Entry(i);
        EXPECT_EQ(e.Offset, next) << "entry " << i << " of " << fileName.toStdString();
        next = e.Offset + qint64(e.Size);
        if (!e.Free)
            state[e.Id] = db.ReadStream(e.Id);
    }
    EXPECT_EQ(next + db.Header().TocSize, QFileInfo(fileName).size());
    return state;
}

// One change and what the streams are after it.
struct TStep {
    std::function<void(TkvxStreamFile &)> change;
    TState after;
};

// Writes, rewrites of the same, a smaller and a larger size, deletes, a
// write into a gap and a compaction, from a state of three streams.
std::vector<TStep> Steps(TState &start) {
    start = {{"A", Bytes(3000, 1)}, {"B", Bytes(500, 2)}, {"C", Bytes(4000, 3)}};
    std::vector<TStep> steps;
    TState state = start;
    auto write = [&](const QString &id, const QByteArray &data) {
        state[id] = data;
        steps.push_back({[id, data](TkvxStreamFile &db) { db.WriteStream(id, 0, data); }, state});
    };
    auto remove = [&](const QString &id) {
        state.erase(id);
        steps.push_back({[id](TkvxStreamFile &db) { db.DeleteStream(id); }, state});
    };
    write("B", Bytes(500, 2));   // the same bytes: the same block again
    write("A", Bytes(3000, 4));  // same size, new content, in place
    write("C", Bytes(1000, 5));  // smaller: the front of its old block
    write("A", Bytes(9000, 6));  // larger: appended
    remove("B");
    write("D", Bytes(200, 7));   // into a gap
    steps.push_back({[](TkvxStreamFile &db) { db.Compact(); }, state});
    write("E", Bytes(700, 8));
    remove("C");
    return steps;
}

void Build(const QString &fileName, const TState &state) {
    QFile::remove(fileName);
    TkvxStreamFile db;
    db.Open(fileName, false);
    for (const auto &[id, data] : state)
        db.WriteStream(id, 0, data);
}

// Runs the steps with the process stopped at file operation k; returns the
// index of the step that was stopped, or -1 when all ran.
int RunStoppedAt(const QString &fileName, const std::vector<TStep> &steps, qint64 k, bool torn) {
    TkvxStreamFile db;
    db.Open(fileName, false);
    TkvxSfFaults::StopAt(k, torn);
    int stopped = -1;
    for (size_t i = 0; i < steps.size() && stopped < 0; ++i) {
        try {
            steps[i].change(db);
        } catch (const EkvxSfStop &) {
            stopped = int(i);
        }
    }
    TkvxSfFaults::Reset();
    return stopped; // the container goes without another write, as in a kill
}

struct TFaultRun : ::testing::Test {
    void SetUp() override { TkvxSfFaults::SetFlushing(false); }
    void TearDown() override { TkvxSfFaults::SetFlushing(true); }

    TvdrTempFolder folder;
    QString file = folder.File(QStringLiteral("Vandor.dat"));
    TState start;
    std::vector<TStep> steps = Steps(start);

    qint64 OperationsOfAllSteps() {
        Build(file, start);
        RunStoppedAt(file, steps, 0, false);
        const qint64 count = TkvxSfFaults::Count();
        TkvxSfFaults::Reset();
        return count;
    }
    const TState &Before(int step) const { return step == 0 ? start : steps[size_t(step) - 1].after; }
};

} // namespace

TEST_F(TFaultRun, AStopAtAnyFileOperationLeavesTheOldOrTheNewStateOfEveryChange) {
    const qint64 operations = OperationsOfAllSteps();
    ASSERT_GT(operations, 60);
    int points = 0;
    for (const bool torn : {false, true}) {
        for (qint64 k = 1; k <= operations; ++k) {
            SCOPED_TRACE(testing::Message() << "stopped at operation " << k << (torn ? ", torn" : ""));
            Build(file, start);
            const int stopped = RunStoppedAt(file, steps, k, torn);
            if (torn && stopped < 0)
                continue; // operation k was no write
            ASSERT_GE(stopped, 0);
            ++points;
            // Read-only first: a reader repairs what a dead writer left.
            const TState state = Opened(file, k % 2 == 0);
            EXPECT_FALSE(TkvxSfJournal::Exists(file));
            const bool old = state == Before(stopped);
            EXPECT_TRUE(old || state == steps[size_t(stopped)].after) << "step " << stopped;
            EXPECT_EQ(Opened(file), state) << "a second open changes nothing";
        }
    }
    RecordProperty("crash_points", points);
    std::printf("crash points tested: %d\n", points);
}

TEST_F(TFaultRun, AStopWhileRepairingIsRepairedByTheNextOpen) {
    const qint64 operations = OperationsOfAllSteps();
    for (qint64 k = 1; k <= operations; k += 3) {
        Build(file, start);
        const int stopped = RunStoppedAt(file, steps, k, true);
        if (stopped < 0 || !TkvxSfJournal::Exists(file))
            continue;
        SCOPED_TRACE(testing::Message() << "stopped at operation " << k << " in step " << stopped);
        const QByteArray journal = ReadWholeFile(TkvxSfJournal::FileNameOf(file));
        for (qint64 j = 1;; ++j) {
            TkvxSfFaults::StopAt(j);
            bool repaired = true;
            try {
                TkvxStreamFile db;
                db.Open(file, false);
            } catch (const EkvxSfStop &) {
                repaired = false;
            }
            TkvxSfFaults::Reset();
            const TState state = Opened(file);
            EXPECT_EQ(state, Before(stopped)) << "repair stopped at " << j;
            if (repaired)
                break;
            // Back to the moment of the first stop for the next try.
            RunStoppedAt(file, {}, 0, false);
            Build(file, start);
            RunStoppedAt(file, steps, k, true);
            ASSERT_EQ(ReadWholeFile(TkvxSfJournal::FileNameOf(file)), journal);
        }
    }
}

TEST(Journal, OnlyACompleteJournalPutsBytesBackAndAStaleOneIsDropped) {
    TvdrTempFolder folder;
    const QString file = folder.File(QStringLiteral("Vandor.dat"));
    const QString journalFile = TkvxSfJournal::FileNameOf(file);
    Build(file, {{"A", Bytes(100, 1)}});
    const QByteArray before = ReadWholeFile(file);
    QByteArray journal;
    {
        TkvxSfFile db(file, TkvxSfFile::Mode::ReadWrite);
        TkvxSfJournal::Begin(db, {{0, 4}, {4, 50}, {before.size() - 2, 100}});
        journal = ReadWholeFile(journalFile);
        db.WriteAt(10, "XXXXX");
        db.WriteAt(before.size(), "grown");
    }
    const QByteArray changed = ReadWholeFile(file);
    // Cut short, as when the writer died while writing it: the change had
    // not begun, so nothing may be put back.
    WriteWholeFile(journalFile, journal.left(journal.size() - 3));
    {
        TkvxSfFile db(file, TkvxSfFile::Mode::ReadWrite);
        EXPECT_FALSE(TkvxSfJournal::Recover(db));
    }
    EXPECT_EQ(ReadWholeFile(file), changed);
    EXPECT_FALSE(QFile::exists(journalFile));

    WriteWholeFile(journalFile, journal);
    {
        TkvxSfFile db(file, TkvxSfFile::Mode::ReadWrite);
        EXPECT_TRUE(TkvxSfJournal::Recover(db));
    }
    EXPECT_EQ(ReadWholeFile(file), before) << "old bytes back, cut to the old length";

    // A journal whose database is gone must not roll a new database back.
    QFile::remove(file);
    WriteWholeFile(journalFile, journal);
    {
        TkvxStreamFile db;
        db.Open(file, false);
        db.WriteStream(QStringLiteral("B"), 0, Bytes(10, 2));
    }
    EXPECT_EQ(Opened(file).count(QStringLiteral("B")), 1u);
    EXPECT_FALSE(QFile::exists(journalFile));
}

TEST(Journal, DatabaseAndJournalAreTheOwnersAlone) {
    TvdrTempFolder folder;
    const QString file = folder.File(QStringLiteral("Vandor.dat"));
    Build(file, {{"A", Bytes(100, 1)}});
    {
        TkvxSfFile db(file, TkvxSfFile::Mode::ReadWrite);
        TkvxSfJournal::Begin(db, {{0, 4}});
    }
    struct stat st;
    ASSERT_EQ(::stat(file.toLocal8Bit().constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    ASSERT_EQ(::stat(TkvxSfJournal::FileNameOf(file).toLocal8Bit().constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    // While a writer holds the database its journal is its own business: a
    // reader takes the file as it is and leaves the journal alone.
    TkvxStreamFile writer;
    writer.Open(file, false); // repairs (a no-op here) and holds the file
    {
        TkvxSfFile db(file, TkvxSfFile::Mode::ReadOnly);
        (void)db;
    }
    WriteWholeFile(TkvxSfJournal::FileNameOf(file), "live journal");
    TkvxStreamFile reader;
    reader.Open(file, true);
    EXPECT_TRUE(TkvxSfJournal::Exists(file));
    EXPECT_EQ(reader.ReadStream(QStringLiteral("A")), Bytes(100, 1));
}
