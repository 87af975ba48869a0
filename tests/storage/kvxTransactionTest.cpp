#include "kvxTransaction.h"
#include "kvxSfFile.h"
#include "kvxSfJournal.h"
#include "kvxStreamFile.h"
#include "vdrTestSupport.h"

#include <QFile>
#include <gtest/gtest.h>

#include <cerrno>
#include <functional>
#include <map>

namespace {

using TState = std::map<QString, QByteArray>;

TState Opened(const QString &file, bool readOnly = false) {
    TkvxStreamFile db;
    db.Open(file, readOnly);
    return StreamsOf(db);
}

// Saves of several tables, as a command makes them: a larger one appended,
// a smaller one into its old place, a delete, a new stream into a gap.
void Command(TkvxStreamFile &db) {
    db.WriteStream(QStringLiteral("A"), 0, SeededBytes(6000, 11));
    db.WriteStream(QStringLiteral("B"), 0, SeededBytes(200, 12));
    db.DeleteStream(QStringLiteral("C"));
    db.WriteStream(QStringLiteral("D"), 0, SeededBytes(900, 13));
}

const TState kBefore = {{"A", SeededBytes(3000, 1)}, {"B", SeededBytes(800, 2)}, {"C", SeededBytes(1500, 3)}};
const TState kAfter = {
    {"A", SeededBytes(6000, 11)}, {"B", SeededBytes(200, 12)}, {"D", SeededBytes(900, 13)}};

struct TransactionTest : ::testing::Test {
    TvdrTempFolder folder;
    QString file = folder.File(QStringLiteral("Vandor.dat"));

    void Build() {
        QFile::remove(file);
        TkvxStreamFile db;
        db.Open(file, false);
        for (const auto &[id, data] : kBefore)
            db.WriteStream(id, 0, data);
    }

    // Runs the command in one transaction; returns the operations it took.
    qint64 RunInTransaction(TkvxStreamFile &db) {
        TkvxSfFaults::StopAt(0);
        TkvxTransaction transaction(db);
        Command(db);
        transaction.Commit();
        return TkvxSfFaults::Count();
    }
};

} // namespace

TEST_F(TransactionTest, ChangesReachTheFileTogetherAtCommitAsTheSameBytesInOneFlush) {
    Build();
    const QByteArray before = ReadWholeFile(file);
    {
        TkvxStreamFile db;
        db.Open(file, false);
        TkvxSfFaults::StopAt(0);
        Command(db);
        EXPECT_EQ(TkvxSfFaults::Flushes(), 9)
            << "three flushes for the first save alone, two for each after it: its journal is kept";
    }
    const QByteArray sequence = ReadWholeFile(file);
    WriteWholeFile(file, before);

    TkvxStreamFile db;
    db.Open(file, false);
    {
        TkvxTransaction transaction(db);
        Command(db);
        EXPECT_EQ(StreamsOf(db), kAfter) << "reads inside see the changes";
        EXPECT_EQ(ReadWholeFile(file), before) << "the file is untouched until the commit";
        TkvxSfFaults::StopAt(0);
        transaction.Commit();
        EXPECT_EQ(TkvxSfFaults::Flushes(), 3) << "the journal, its folder, the database";
    }
    EXPECT_EQ(ReadWholeFile(file), sequence) << "the bytes the saves one by one give";
    EXPECT_FALSE(TkvxSfJournal::HoldsChange(file));
    db.Close();
    EXPECT_FALSE(TkvxSfJournal::Exists(file)) << "the kept journal goes with the close";
    EXPECT_EQ(Opened(file), kAfter);

    // A transaction that changes nothing touches nothing.
    db.Open(file, false);
    TkvxSfFaults::StopAt(0);
    TkvxTransaction nothing(db);
    nothing.Commit();
    EXPECT_EQ(TkvxSfFaults::Count(), 0);
}

TEST_F(TransactionTest, WhatIsNotCommittedIsDroppedAndAFailureInsideDropsTheWhole) {
    Build();
    const QByteArray before = ReadWholeFile(file);
    TkvxStreamFile db;
    db.Open(file, false);
    {
        TkvxTransaction transaction(db);
        Command(db);
    }
    EXPECT_EQ(StreamsOf(db), kBefore) << "memory back as it was";
    EXPECT_EQ(ReadWholeFile(file), before);

    // A failed write inside leaves the writes before it standing.
    {
        TkvxTransaction transaction(db);
        db.WriteStream(QStringLiteral("E"), 0, SeededBytes(50, 4));
        EXPECT_NE(ErrorMessageOf([&] { db.WriteStream(QStringLiteral("bad\x01id"), 0, SeededBytes(5, 5)); }),
                  "(no error)");
        EXPECT_EQ(ErrorMessageOf([&] { db.Compact(); }),
                  (file + " cannot be compacted while a change is under way").toStdString());
        transaction.Commit();
    }
    TState expected = kBefore;
    expected["E"] = SeededBytes(50, 4);
    EXPECT_EQ(Opened(file, true), expected);

    // An inner transaction that fails takes the outer one with it.
    const QByteArray withE = ReadWholeFile(file);
    {
        TkvxTransaction outer(db);
        db.WriteStream(QStringLiteral("A"), 0, SeededBytes(10, 6));
        {
            TkvxTransaction inner(db);
            db.DeleteStream(QStringLiteral("B"));
        }
        const std::string undone =
            ("the change of " + file + " was undone by an error inside it").toStdString();
        EXPECT_EQ(ErrorMessageOf([&] { db.WriteStream(QStringLiteral("F"), 0, SeededBytes(10, 7)); }), undone)
            << "nothing more is taken into a lost transaction";
        EXPECT_EQ(ErrorMessageOf([&] { outer.Commit(); }), undone);
    }
    EXPECT_FALSE(db.InTransaction());
    EXPECT_EQ(ReadWholeFile(file), withE);
    EXPECT_EQ(StreamsOf(db), expected);
}

TEST_F(TransactionTest, AFailingOperationOfTheCommitPutsTheFileBackAndRaises) {
    Build();
    const QByteArray before = ReadWholeFile(file);
    qint64 operations = 0;
    {
        TkvxStreamFile db;
        db.Open(file, false);
        operations = RunInTransaction(db);
    }
    for (qint64 k = 1; k <= operations; ++k) {
        SCOPED_TRACE(testing::Message() << "operation " << k << " fails");
        WriteWholeFile(file, before);
        TkvxStreamFile db;
        db.Open(file, false);
        TkvxSfFaults::FailAt(k, ENOSPC);
        std::string error;
        {
            TkvxTransaction transaction(db);
            Command(db);
            error = ErrorMessageOf([&] { transaction.Commit(); });
        }
        TkvxSfFaults::Reset();
        EXPECT_NE(error.find("No space left on device"), std::string::npos) << error;
        EXPECT_EQ(ReadWholeFile(file), before);
        EXPECT_FALSE(TkvxSfJournal::HoldsChange(file));
        EXPECT_TRUE(db.IsOpen());
        EXPECT_EQ(StreamsOf(db), kBefore) << "what the container knows agrees with the file";
        db.WriteStream(QStringLiteral("C"), 0, SeededBytes(10, 8));
        db.Close();
        TState expected = kBefore;
        expected["C"] = SeededBytes(10, 8);
        EXPECT_EQ(Opened(file), expected) << "and it goes on working";
    }
    WriteWholeFile(file, before);
    TkvxStreamFile db;
    db.Open(file, false);
    TkvxSfFaults::FailAt(6, ENOSPC); // the first write into the database
    TkvxTransaction transaction(db);
    Command(db);
    EXPECT_EQ(ErrorMessageOf([&] { transaction.Commit(); }),
              ("cannot write " + file + ": No space left on device").toStdString());
    TkvxSfFaults::Reset();
}

TEST_F(TransactionTest, ACommitByCompactionWritesTheBytesOfACommitAndACompactionAndNeverLosesTheChange) {
    Build();
    const QByteArray before = ReadWholeFile(file);
    {
        TkvxStreamFile db;
        db.Open(file, false);
        RunInTransaction(db);
        db.Compact();
    }
    const QByteArray compacted = ReadWholeFile(file);
    WriteWholeFile(file, before);

    qint64 operations = 0;
    {
        TkvxStreamFile db;
        db.Open(file, false);
        TkvxTransaction transaction(db);
        Command(db);
        TkvxSfFaults::StopAt(0);
        db.CommitCompacted();
        operations = TkvxSfFaults::Count();
        EXPECT_EQ(TkvxSfFaults::Flushes(), 2) << "the new file and its folder, no journal";
        EXPECT_FALSE(db.InTransaction());
        EXPECT_EQ(StreamsOf(db), kAfter);
        transaction.Commit();
    }
    EXPECT_EQ(ReadWholeFile(file), compacted);
    EXPECT_FALSE(TkvxSfJournal::Exists(file));

    // Killed at any step: the file as before or as after; failing at any
    // step: the change is in the file all the same, and the error raised.
    for (qint64 k = 1; k <= operations; ++k) {
        SCOPED_TRACE(testing::Message() << "operation " << k);
        WriteWholeFile(file, before);
        {
            TkvxStreamFile db;
            db.Open(file, false);
            TkvxTransaction transaction(db);
            Command(db);
            TkvxSfFaults::StopAt(k);
            EXPECT_THROW(db.CommitCompacted(), EkvxSfStop);
            TkvxSfFaults::Reset();
        }
        const TState killed = Opened(file);
        EXPECT_TRUE(killed == kBefore || killed == kAfter);

        WriteWholeFile(file, before);
        TkvxStreamFile db;
        db.Open(file, false);
        TkvxTransaction transaction(db);
        Command(db);
        TkvxSfFaults::FailAt(k, EIO);
        const std::string error = ErrorMessageOf([&] { db.CommitCompacted(); });
        TkvxSfFaults::Reset();
        EXPECT_NE(error.find("Input/output error"), std::string::npos) << error;
        EXPECT_FALSE(db.InTransaction());
        EXPECT_EQ(StreamsOf(db), kAfter);
        db.Close();
        EXPECT_EQ(Opened(file), kAfter);
    }
}
