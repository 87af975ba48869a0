// A writer process killed at random moments, hundreds of times: after every
// kill the database must open with each stream in a state the writer had
// committed, or in the state of the one change that was under way.

#include "kvxStreamFile.h"
#include "vdrTestSupport.h"

#include <QElapsedTimer>
#include <QtEndian>
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <random>
#include <unistd.h>
#include <zlib.h>

namespace {

constexpr int kStreams = 6;

QString IdOf(int stream) {
    return QStringLiteral("Stream%1").arg(stream);
}

// Change number `version` of a stream: a delete now and then, else bytes
// that say which change wrote them.
bool IsDelete(int stream, int version) {
    return version > 0 && (stream * 31 + version * 17) % 7 == 0;
}

QByteArray Content(int stream, int version) {
    std::mt19937 rng(unsigned(stream * 100003 + version));
    QByteArray bytes(int(16 + rng() % 30000), '\0');
    for (qsizetype i = 16; i < bytes.size(); ++i)
        bytes[i] = (i % 4) ? char(rng()) : char('a' + i % 26);
    qToLittleEndian<qint32>(stream, bytes.data());
    qToLittleEndian<qint32>(version, bytes.data() + 4);
    qToLittleEndian<quint32>(
        quint32(crc32(0, reinterpret_cast<const Bytef *>(bytes.constData() + 16), uInt(bytes.size() - 16))),
        bytes.data() + 8);
    return bytes;
}

// -1 for an absent stream; otherwise the version its bytes say, after
// checking they are exactly what that version wrote.
int VersionOnDisk(TkvxStreamFile &db, int stream) {
    if (!db.Toc().Exists(IdOf(stream)))
        return -1;
    const QByteArray bytes = db.ReadStream(IdOf(stream));
    if (bytes.size() < 16)
        return -2;
    const int version = qFromLittleEndian<qint32>(bytes.constData() + 4);
    return bytes == Content(stream, version) ? version : -2;
}

// The writer: changes random streams forever, compacting now and then, and
// reports every change that returned as "stream version".
[[noreturn]] void Writer(const QString &file, std::array<int, kStreams> versions, int pipe, unsigned seed) {
    std::mt19937 rng(seed);
    try {
        TkvxStreamFile db;
        db.Open(file, false);
        for (int change = 0;; ++change) {
            if (rng() % 6 == 0)
                db.Compact();
            const int stream = int(rng() % kStreams);
            const int version = ++versions[size_t(stream)];
            if (IsDelete(stream, version))
                db.DeleteStream(IdOf(stream));
            else
                db.WriteStream(IdOf(stream), 0, Content(stream, version));
            char line[32];
            const int n = std::snprintf(line, sizeof line, "%d %d\n", stream, version);
            if (::write(pipe, line, size_t(n)) != n)
                ::_exit(3);
        }
    } catch (...) {
        ::_exit(2);
    }
}

void ReadCommitted(const QByteArray &reported, std::array<int, kStreams> &committed) {
    for (const QByteArray &line : reported.split('\n')) {
        const QList<QByteArray> parts = line.split(' ');
        if (parts.size() == 2)
            committed[size_t(parts[0].toInt())] = parts[1].toInt();
    }
}

} // namespace

TEST(Soak, AWriterKilledAtRandomNeverLeavesABrokenDatabase) {
    TvdrTempFolder folder;
    const QString file = folder.File(QStringLiteral("Vandor.dat"));
    std::array<int, kStreams> versions{}; // what the file holds now
    std::mt19937 rng(20261209);
    QElapsedTimer clock;
    clock.start();
    int kills = 0;
    int changes = 0;
    while (kills < 300 && clock.elapsed() < 40000) {
        const unsigned seed = unsigned(rng());
        const QByteArray reported =
            RunKilledAfter([&](int pipe) { Writer(file, versions, pipe, seed); }, 1000 + rng() % 40000);
        ASSERT_FALSE(HasFailure());
        std::array<int, kStreams> committed = versions;
        ReadCommitted(reported, committed);
        ++kills;

        TkvxStreamFile db;
        ASSERT_NO_THROW(db.Open(file, false)) << "after kill " << kills;
        for (int s = 0; s < kStreams; ++s) {
            changes += committed[size_t(s)] - versions[size_t(s)];
            const int next = committed[size_t(s)] + 1;
            const int found = VersionOnDisk(db, s);
            const auto state = [s](int version) {
                return IsDelete(s, version) || version == 0 ? -1 : version;
            };
            // Absent streams carry no version: a committed delete is the
            // last change that left the stream absent.
            if (found == state(committed[size_t(s)]) || (found == -1 && state(committed[size_t(s)]) == -1)) {
                versions[size_t(s)] = committed[size_t(s)];
            } else {
                ASSERT_EQ(found, state(next))
                    << "stream " << s << " after kill " << kills << ": committed " << committed[size_t(s)];
                versions[size_t(s)] = next;
            }
        }
    }
    std::printf("kills survived: %d, changes committed: %d\n", kills, changes);
    RecordProperty("kills", kills);
    EXPECT_GE(kills, 100);
}
