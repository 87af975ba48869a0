#include "kvxSfJournal.h"
#include "kvxSfFile.h"
#include "kvxSfJournalImage.h"
#include "kvxStreamFile.h"
#include "kvxTransaction.h"
#include "vdrTestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <sys/stat.h>
#include <zlib.h>

namespace {

using TState = std::map<QString, QByteArray>;

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
// write into a gap, a compaction and a transaction of several of these,
// from a state of three streams.
std::vector<TStep> Steps(TState &start) {
    start = {{"A", SeededBytes(3000, 1)}, {"B", SeededBytes(500, 2)}, {"C", SeededBytes(4000, 3)}};
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
    write("B", SeededBytes(500, 2));  // the same bytes: the same block again
    write("A", SeededBytes(3000, 4)); // same size, new content, in place
    write("C", SeededBytes(1000, 5)); // smaller: the front of its old block
    write("A", SeededBytes(9000, 6)); // larger: appended
    remove("B");
    write("D", SeededBytes(200, 7)); // into a gap
    steps.push_back({[](TkvxStreamFile &db) { db.Compact(); }, state});
    write("E", SeededBytes(700, 8));
    remove("C");
    state["A"] = SeededBytes(12000, 9);
    state["B"] = SeededBytes(300, 10);
    state.erase("D");
    steps.push_back({[](TkvxStreamFile &db) {
                         TkvxTransaction transaction(db);
                         db.WriteStream(QStringLiteral("A"), 0, SeededBytes(12000, 9));
                         db.WriteStream(QStringLiteral("B"), 0, SeededBytes(300, 10));
                         db.DeleteStream(QStringLiteral("D"));
                         transaction.Commit();
                     },
                     state});
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
// index of the step that was stopped, or -1 when all ran. `operations`: the
// file operations of the steps, without the close's.
int RunStoppedAt(const QString &fileName, const std::vector<TStep> &steps, qint64 k, bool torn,
                 qint64 *operations = nullptr) {
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
    if (operations)
        *operations = TkvxSfFaults::Count();
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
        qint64 count = 0;
        RunStoppedAt(file, steps, 0, false, &count);
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
            EXPECT_FALSE(TkvxSfJournal::HoldsChange(file));
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
        if (stopped < 0 || !TkvxSfJournal::HoldsChange(file))
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

namespace {

// Runs `change` and stops it right before the database is flushed: the
// change written, its journal on the disk, as a kill there leaves them.
// Returns the journal.
QByteArray StopBeforeTheFlush(const QString &file, const std::function<void(TkvxStreamFile &)> &change) {
    const QByteArray start = ReadWholeFile(file);
    qint64 operations = 0;
    {
        TkvxStreamFile db;
        db.Open(file, false);
        TkvxSfFaults::StopAt(0);
        change(db);
        operations = TkvxSfFaults::Count();
    }
    WriteWholeFile(file, start);
    {
        TkvxStreamFile db;
        db.Open(file, false);
        // The last two: flushing the database, removing the journal.
        TkvxSfFaults::StopAt(operations - 1);
        EXPECT_THROW(change(db), EkvxSfStop);
        TkvxSfFaults::Reset();
    }
    return ReadWholeFile(TkvxSfJournal::FileNameOf(file));
}

void GrowAAndAddB(TkvxStreamFile &db) {
    TkvxTransaction transaction(db);
    db.WriteStream(QStringLiteral("A"), 0, SeededBytes(5000, 9));
    db.WriteStream(QStringLiteral("B"), 0, SeededBytes(300, 10));
    transaction.Commit();
}

QString Refused(const QString &file) {
    return TkvxSfJournal::FileNameOf(file) + QStringLiteral(".refused");
}

// A database of one stream.
struct Journal : ::testing::Test {
    TvdrTempFolder folder;
    QString file = folder.File(QStringLiteral("Vandor.dat"));
    QString journalFile = TkvxSfJournal::FileNameOf(file);

    void SetUp() override { Build(file, {{"A", SeededBytes(100, 1)}}); }
};

} // namespace

TEST_F(Journal, ACutOffJournalIsDroppedAndAWholeOnePutsTheFileBack) {
    const QByteArray before = ReadWholeFile(file);
    const QByteArray journal = StopBeforeTheFlush(file, GrowAAndAddB);
    const QByteArray changed = ReadWholeFile(file);
    ASSERT_NE(changed, before);

    // Cut short, as when the writer died while writing it: the change had
    // not begun, so nothing may be put back.
    for (const qsizetype cut : {qsizetype(3), qsizetype(20), journal.size() - 3}) {
        WriteWholeFile(journalFile, journal.left(cut));
        TkvxStreamFile db;
        db.Open(file, false);
        EXPECT_EQ(ReadWholeFile(file), changed) << "cut to " << cut;
        EXPECT_FALSE(QFile::exists(journalFile));
        EXPECT_FALSE(QFile::exists(Refused(file)));
    }

    WriteWholeFile(journalFile, journal);
    EXPECT_EQ(Opened(file, true), (TState{{"A", SeededBytes(100, 1)}})) << "a reader puts it back too";
    EXPECT_EQ(ReadWholeFile(file), before) << "old bytes back, cut to the old length";
    EXPECT_FALSE(QFile::exists(journalFile));

    // A journal whose database is gone must not stand in a new one's way.
    QFile::remove(file);
    WriteWholeFile(journalFile, journal);
    {
        TkvxStreamFile db;
        db.Open(file, false);
        db.WriteStream(QStringLiteral("B"), 0, SeededBytes(10, 2));
    }
    EXPECT_EQ(Opened(file).count(QStringLiteral("B")), 1u);
    EXPECT_FALSE(QFile::exists(journalFile));
}

TEST_F(Journal, AJournalThatDoesNotFitTheFileIsKeptAsideAndNeverApplied) {
    const QByteArray backup = ReadWholeFile(file);
    {
        TkvxStreamFile db;
        db.Open(file, false);
        db.WriteStream(QStringLiteral("C"), 0, SeededBytes(700, 3));
    }
    const QByteArray journal = StopBeforeTheFlush(file, GrowAAndAddB);
    const QByteArray changed = ReadWholeFile(file);

    TkvxSfJournalImage forged;
    ASSERT_EQ(forged.Decode(journal), QString());
    forged.OldLength = forged.HighLength = qint64(1) << 40;
    QByteArray damaged = journal;
    damaged[damaged.size() / 2] = char(damaged[damaged.size() / 2] ^ 0x40);
    // The database as another writer's compaction leaves it: the same
    // streams, laid out anew.
    const QString compacted = folder.File(QStringLiteral("other/Vandor.dat"));
    QDir().mkpath(folder.File(QStringLiteral("other")));
    WriteWholeFile(compacted, changed);
    {
        TkvxStreamFile db;
        db.Open(compacted, false);
        db.DeleteStream(QStringLiteral("C"));
        db.Compact();
    }
    const QByteArray compactedBytes = ReadWholeFile(compacted);
    const QString linkTarget = folder.File(QStringLiteral("elsewhere"));
    WriteWholeFile(linkTarget, journal);

    const struct {
        const char *what;
        QByteArray fileBytes;
        QByteArray journalBytes; // empty: a link to linkTarget
        QString reason;
    } cases[] = {
        {"a backup copied over the database", backup, journal,
         "the file is 140 bytes long, and the change it belongs to keeps a length of 834 to 6002 bytes"},
        {"damaged contents of the right length", changed, damaged,
         "its check sum does not match its contents"},
        {"lengths past the format's limit", changed, forged.Encode(),
         "it reaches past the 2 GiB limit of the format"},
        {"another writer's compaction", compactedBytes, journal,
         "the file's bytes at offset 0 are neither those before nor those after the change it belongs to"},
        {"a link", changed, QByteArray(), "it is not a regular file"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        QFile::remove(Refused(file));
        WriteWholeFile(file, c.fileBytes);
        if (c.journalBytes.isEmpty())
            ASSERT_TRUE(QFile::link(linkTarget, journalFile));
        else
            WriteWholeFile(journalFile, c.journalBytes);
        {
            TkvxStreamFile db;
            db.Open(file, false);
            EXPECT_EQ(db.KeptAsideJournals(), (QList<QPair<QString, QString>>{{Refused(file), c.reason}}));
        }
        EXPECT_EQ(ReadWholeFile(file), c.fileBytes) << "never applied";
        EXPECT_FALSE(TkvxSfJournal::Exists(file));
        EXPECT_TRUE(QFileInfo::exists(Refused(file)) || QFileInfo(Refused(file)).isSymLink());
        EXPECT_EQ(ReadWholeFile(linkTarget), journal) << "nothing written through the link";
        TkvxStreamFile reader;
        reader.Open(file, true);
        EXPECT_EQ(reader.KeptAsideJournals().size(), 1) << "still reported";
    }

    // A second one kept aside takes the next name.
    WriteWholeFile(journalFile, damaged);
    TkvxStreamFile db;
    db.Open(file, false);
    EXPECT_EQ(db.KeptAsideJournals().size(), 2);
    EXPECT_TRUE(QFile::exists(Refused(file) + QStringLiteral("2")));
}

TEST_F(Journal, AJournalIsMadeAnewAndNeverThroughALink) {
    const QByteArray before = ReadWholeFile(file);
    const QString victim = folder.File(QStringLiteral("victim"));
    WriteWholeFile(victim, "precious");

    TkvxStreamFile db;
    db.Open(file, false);
    ASSERT_TRUE(QFile::link(victim, journalFile));
    EXPECT_EQ(ErrorMessageOf([&] { db.WriteStream(QStringLiteral("A"), 0, SeededBytes(200, 2)); }),
              ("cannot create " + journalFile + ": File exists").toStdString());
    EXPECT_EQ(ReadWholeFile(victim), QByteArray("precious"));
    EXPECT_EQ(ReadWholeFile(file), before) << "the change did not begin";
    EXPECT_EQ(db.ReadStream(QStringLiteral("A")), SeededBytes(100, 1)) << "nor in memory";

    QFile::remove(journalFile);
    db.WriteStream(QStringLiteral("A"), 0, SeededBytes(200, 2));
    db.Close();
    EXPECT_EQ(Opened(file), (TState{{"A", SeededBytes(200, 2)}}));
}

TEST_F(Journal, AWriterKeepsItsMarkedJournalForItsNextChangeAndRemovesItAtTheClose) {
    TkvxStreamFile db;
    db.Open(file, false);
    TkvxSfFaults::StopAt(0);
    db.WriteStream(QStringLiteral("A"), 0, SeededBytes(200, 2));
    EXPECT_EQ(TkvxSfFaults::Flushes(), 3) << "the journal, its folder, the database";
    ASSERT_TRUE(TkvxSfJournal::Exists(file));
    const QByteArray marked = ReadWholeFile(journalFile);
    ASSERT_GT(marked.size(), 16) << "it keeps its length";
    EXPECT_EQ(marked.front(), '\0') << "and holds no change";
    EXPECT_FALSE(TkvxSfJournal::HoldsChange(file));
    TkvxSfFaults::StopAt(0);
    db.WriteStream(QStringLiteral("A"), 0, SeededBytes(300, 3));
    EXPECT_EQ(TkvxSfFaults::Flushes(), 2) << "the journal's name is on the disk already";
    EXPECT_EQ(Opened(file, true), (TState{{"A", SeededBytes(300, 3)}})) << "a reader minds no empty journal";

    QFile::remove(journalFile);
    TkvxSfFaults::StopAt(0);
    db.WriteStream(QStringLiteral("A"), 0, SeededBytes(400, 4));
    EXPECT_EQ(TkvxSfFaults::Flushes(), 3) << "removed by someone, it is made anew";

    // Put in its place, an empty file or a link is never written through.
    const QString victim = folder.File(QStringLiteral("victim"));
    WriteWholeFile(victim, QByteArray());
    QFile::remove(journalFile);
    ASSERT_TRUE(QFile::link(victim, journalFile));
    EXPECT_EQ(ErrorMessageOf([&] { db.WriteStream(QStringLiteral("A"), 0, SeededBytes(500, 5)); }),
              ("cannot create " + journalFile + ": File exists").toStdString());
    QFile::remove(journalFile);
    WriteWholeFile(journalFile, QByteArray());
    EXPECT_EQ(ErrorMessageOf([&] { db.WriteStream(QStringLiteral("A"), 0, SeededBytes(500, 5)); }),
              ("cannot create " + journalFile + ": File exists").toStdString());
    EXPECT_EQ(ReadWholeFile(victim), QByteArray());
    EXPECT_EQ(db.ReadStream(QStringLiteral("A")), SeededBytes(400, 4));
    db.Close();
    EXPECT_TRUE(TkvxSfJournal::Exists(file)) << "not its own: left alone";

    // An empty journal, as a writer killed between two changes leaves it,
    // holds nothing: the next writer removes it and logs nothing.
    TkvxStreamFile next;
    next.Open(file, false);
    EXPECT_FALSE(TkvxSfJournal::Exists(file));
    EXPECT_TRUE(next.KeptAsideJournals().isEmpty());
    next.WriteStream(QStringLiteral("A"), 0, SeededBytes(600, 6));
    next.Close();
    EXPECT_FALSE(TkvxSfJournal::Exists(file)) << "its own journal goes with the close";
    EXPECT_EQ(Opened(file), (TState{{"A", SeededBytes(600, 6)}}));
}

TEST_F(Journal, DatabaseAndJournalAreTheOwnersAlone) {
    StopBeforeTheFlush(file, GrowAAndAddB);
    struct stat st;
    ASSERT_EQ(::stat(file.toLocal8Bit().constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    ASSERT_EQ(::stat(TkvxSfJournal::FileNameOf(file).toLocal8Bit().constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    // While a writer holds the database its journal is its own business: a
    // reader takes the file as it is and leaves the journal alone.
    TkvxStreamFile writer;
    writer.Open(file, false); // puts the change back and holds the file
    WriteWholeFile(TkvxSfJournal::FileNameOf(file), "live journal");
    TkvxStreamFile reader;
    reader.Open(file, true);
    EXPECT_TRUE(TkvxSfJournal::Exists(file));
    EXPECT_EQ(reader.ReadStream(QStringLiteral("A")), SeededBytes(100, 1));
}

// A writer's journal only grows: a short change's journal written into a
// longer one leaves the rest of the longer one behind it, and a stop at any
// point of that change still leaves the old or the new state.
TEST_F(Journal, AShortJournalWrittenIntoALongerOneIsReadToTheLengthItStates) {
    Build(file, {{"A", SeededBytes(3000, 1)}});
    const TState before = {{"A", SeededBytes(3000, 2)}};
    const TState after = {{"A", SeededBytes(3000, 2)}, {"B", SeededBytes(10, 3)}};
    bool sawTail = false;
    for (qint64 k = 1;; ++k) {
        SCOPED_TRACE(testing::Message() << "stopped at operation " << k);
        Build(file, {{"A", SeededBytes(3000, 1)}});
        bool stopped = false;
        qint64 longer = 0;
        {
            TkvxStreamFile db;
            db.Open(file, false);
            db.WriteStream(QStringLiteral("A"), 0, SeededBytes(3000, 2)); // in place: a long journal
            longer = QFileInfo(journalFile).size();
            ASSERT_GT(longer, 4000);
            TkvxSfFaults::StopAt(k, true);
            try {
                db.WriteStream(QStringLiteral("B"), 0, SeededBytes(10, 3));
            } catch (const EkvxSfStop &) {
                stopped = true;
            }
            TkvxSfFaults::Reset();
            EXPECT_EQ(QFileInfo(journalFile).size(), longer) << "never cut";
            if (stopped && TkvxSfJournal::HoldsChange(file)) {
                const QByteArray journal = ReadWholeFile(journalFile);
                sawTail = sawTail || TkvxSfJournalImage::StatedLength(journal.left(16)) < journal.size();
            }
        }
        const TState state = Opened(file);
        EXPECT_TRUE(state == before || state == after);
        EXPECT_FALSE(TkvxSfJournal::Exists(file));
        EXPECT_FALSE(QFile::exists(Refused(file)));
        if (!stopped) {
            EXPECT_EQ(state, after);
            break;
        }
    }
    EXPECT_TRUE(sawTail) << "a stop found the short journal in the long file";
}

// The check sum is zlib's CRC-32 of everything before it, as the format
// says: journals written by earlier builds still read.
TEST(JournalImage, ItsCheckSumIsZlibsCrc32) {
    for (const int size : {0, 1, 100, 5000, 70000}) {
        TkvxSfJournalImage image;
        image.OldLength = image.NewLength = image.LowLength = image.HighLength = 4 + size;
        image.Regions.append(
            {0, SeededBytes(4 + size, unsigned(size)), SeededBytes(4 + size, unsigned(size) + 1)});
        const QByteArray bytes = image.Encode();
        const qsizetype body = bytes.size() - 4;
        EXPECT_EQ(qFromLittleEndian<quint32>(bytes.constData() + body),
                  quint32(crc32(0, reinterpret_cast<const Bytef *>(bytes.constData()), uInt(body))))
            << size;
        TkvxSfJournalImage decoded;
        EXPECT_EQ(decoded.Decode(bytes), QString()) << size;
        EXPECT_EQ(decoded.Regions.size(), image.Regions.size());
    }
}

// A large change's journal is not kept at its length: the disk it takes
// would stay taken for as long as the database is open.
TEST_F(Journal, AJournalPastFourMebibytesIsCutBackAfterItsChange) {
    const QByteArray big = SeededBytes(3 << 20, 1);
    Build(file, {{"A", big}});
    TkvxStreamFile db;
    db.Open(file, false);
    // Smaller, into the front of its old block: old and new bytes.
    db.WriteStream(QStringLiteral("A"), 0, SeededBytes(5 << 19, 2));
    EXPECT_EQ(QFileInfo(journalFile).size(), 0);
    EXPECT_FALSE(TkvxSfJournal::HoldsChange(file));
    db.WriteStream(QStringLiteral("B"), 0, SeededBytes(100, 3));
    const qint64 small = QFileInfo(journalFile).size();
    EXPECT_GT(small, 0);
    EXPECT_LT(small, 1 << 20) << "a small change's journal is kept";
    db.Close();
    EXPECT_EQ(Opened(file), (TState{{"A", SeededBytes(5 << 19, 2)}, {"B", SeededBytes(100, 3)}}));
}
