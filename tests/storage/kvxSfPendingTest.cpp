#include "kvxSfPending.h"
#include "kvxSfFaults.h"
#include "kvxSfFile.h"
#include "vdrTestSupport.h"

#include <gtest/gtest.h>

#include <random>

namespace {

// The file as the same writes and cuts, made one by one, leave it.
struct TModel {
    QByteArray bytes;
    void WriteAt(qint64 offset, const QByteArray &data) {
        if (bytes.size() < offset + data.size())
            bytes.resize(offset + data.size(), '\0');
        bytes.replace(offset, data.size(), data);
    }
    void Truncate(qint64 length) { bytes.resize(length, '\0'); }
};

} // namespace

TEST(Pending, AppliedChangesLeaveWhatTheSameChangesOneByOneWouldAndNoNeedlessCuts) {
    TvdrTempFolder folder;
    std::mt19937 rng(7);
    auto pick = [&](qint64 n) { return qint64(rng() % quint64(n)); };
    for (int round = 0; round < 300; ++round) {
        SCOPED_TRACE(testing::Message() << "round " << round);
        const QString name = folder.File(QStringLiteral("f%1").arg(round));
        TModel model;
        model.bytes = SeededBytes(int(500 + pick(4000)), unsigned(round));
        WriteWholeFile(name, model.bytes);
        TkvxSfFile file(name, TkvxSfFile::Mode::ReadWrite);
        TkvxSfPending pending(model.bytes.size());
        const int steps = 1 + int(pick(6));
        for (int step = 0; step < steps; ++step) {
            if (pick(3) == 0) {
                const qint64 length = pick(model.bytes.size() + 2000);
                pending.Truncate(length);
                model.Truncate(length);
            } else {
                const qint64 offset = pick(model.bytes.size() + 500);
                const QByteArray data = SeededBytes(int(1 + pick(1500)), unsigned(1000 * round + step));
                pending.WriteAt(offset, data);
                model.WriteAt(offset, data);
            }
            ASSERT_EQ(pending.Size(), model.bytes.size());
            const qint64 from = pick(model.bytes.size() + 1);
            EXPECT_EQ(pending.ReadAt(file, from, model.bytes.size() - from), model.bytes.mid(from));
        }
        pending.ApplyTo(file);
        EXPECT_EQ(ReadWholeFile(name), model.bytes);
    }

    // The common commit: the old table of contents cut away and a new one
    // written in its place. The writes cover the cut, so the file is never
    // cut, and keeps its length when the new one is as long.
    const QString name = folder.File(QStringLiteral("toc"));
    WriteWholeFile(name, SeededBytes(1000, 1));
    TkvxSfFile file(name, TkvxSfFile::Mode::ReadWrite);
    TkvxSfPending pending(1000);
    pending.WriteAt(100, SeededBytes(50, 2));
    pending.Truncate(900);
    pending.WriteAt(900, SeededBytes(100, 3));
    TkvxSfFaults::StopAt(0);
    pending.ApplyTo(file);
    EXPECT_EQ(TkvxSfFaults::Count(), 2) << "two writes and no cut";
    TkvxSfFaults::Reset();
    QByteArray expected = SeededBytes(1000, 1);
    expected.replace(100, 50, SeededBytes(50, 2));
    expected.replace(900, 100, SeededBytes(100, 3));
    EXPECT_EQ(ReadWholeFile(name), expected);
}
