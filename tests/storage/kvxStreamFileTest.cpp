#include "kvxStreamFile.h"
#include "kvxSfFile.h"
#include "kvxSfJournal.h"
#include "kvxSfStatus.h"
#include "vdrError.h"
#include "vdrTestSupport.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QtEndian>

#include <cerrno>
#include <gtest/gtest.h>
#include <map>
#include <random>
#include <sys/stat.h>
#include <zlib.h>

namespace {

QByteArray Pattern(int size, unsigned seed) {
    std::mt19937 rng(seed);
    QByteArray b(size, Qt::Uninitialized);
    // Half random, half repetitive, so sizes after compression vary.
    for (int i = 0; i < size; ++i)
        b[i] = (i % 2) ? char(rng() & 0xFF) : char('a' + (i / 7) % 26);
    return b;
}

qint32 Le32(const QByteArray &bytes, qint64 at) {
    return qFromLittleEndian<qint32>(bytes.constData() + at);
}

// Inflates a block with zlib's one-shot call, independently of the container.
QByteArray InflateBlock(const QByteArray &block) {
    const qint32 length = Le32(block, 0);
    QByteArray out(qMax(length, 1), '\0');
    uLongf outLen = uLongf(length);
    const int rc =
        uncompress(reinterpret_cast<Bytef *>(out.data()), &outLen,
                   reinterpret_cast<const Bytef *>(block.constData() + 4), uLong(block.size() - 4));
    EXPECT_EQ(rc, Z_OK);
    EXPECT_EQ(qint64(outLen), length);
    out.truncate(length);
    return out;
}

struct RawEntry {
    qint64 offset, size;
    bool free;
    QByteArray id;
};

// Reads a container file by its byte layout alone and checks that the TOC
// covers the data region without gaps or overlaps and that two free gaps are
// never adjacent. Returns the live streams by Id.
std::map<QByteArray, QByteArray> ReadByLayout(const QString &fileName) {
    const QByteArray file = ReadWholeFile(fileName);
    EXPECT_GE(file.size(), 4);
    const qint32 tocSize = Le32(file, 0);
    std::map<QByteArray, QByteArray> streams;
    if (tocSize == 0) {
        EXPECT_EQ(file.size(), 4);
        return streams;
    }
    const qint64 dataEnd = file.size() - tocSize;
    const QByteArray tocText = InflateBlock(file.mid(dataEnd));
    std::vector<RawEntry> entries;
    for (const QByteArray &record : tocText.split('\x02')) {
        const QList<QByteArray> f = record.split('\x01');
        EXPECT_EQ(f.size(), 5);
        entries.push_back({f[0].toLongLong(), f[1].toLongLong(), f[2] == "1", f[4]});
    }
    qint64 expected = 4;
    bool previousFree = false;
    for (const RawEntry &e : entries) {
        EXPECT_EQ(e.offset, expected) << "gap or overlap in the data region";
        EXPECT_FALSE(e.free && previousFree) << "two adjacent free gaps";
        previousFree = e.free;
        expected = e.offset + e.size;
        if (!e.free)
            streams[e.id] = InflateBlock(file.mid(e.offset, e.size));
    }
    EXPECT_EQ(expected, dataEnd) << "the TOC does not reach the TOC block";
    return streams;
}

void Corrupt(const QString &fileName, qint64 at, const QByteArray &bytes) {
    QByteArray file = ReadWholeFile(fileName);
    file.replace(at, bytes.size(), bytes);
    WriteWholeFile(fileName, file);
}

class StreamFileTest : public ::testing::Test {
protected:
    TvdrTempFolder folder;
    QString db = folder.File(QStringLiteral("Vandor.dat"));
    TkvxStreamFile sf;

    int EntryOffset(const QString &id) { return sf.Toc().Entry(sf.Toc().IndexOfId(id)).Offset; }
};

} // namespace

TEST_F(StreamFileTest, ANewContainerIsFourZeroBytesAndTheFirstStreamFollowsTheHeader) {
    sf.Open(folder.File(QStringLiteral("sub/dir/Vandor.dat")), false);
    EXPECT_EQ(ReadWholeFile(sf.FileName()), QByteArray(4, '\0'));
    EXPECT_EQ(sf.Toc().Count(), 0);
    sf.WriteStream(QStringLiteral("TvdrCars"), 0, QByteArray("0000000=2001\tMake\tModel\r\n"));
    EXPECT_EQ(EntryOffset(QStringLiteral("TvdrCars")), 4);
    const qint64 size = QFileInfo(sf.FileName()).size();
    EXPECT_EQ(size, 4 + sf.Toc().Entry(0).Size + sf.Header().TocSize);
    EXPECT_EQ(ReadByLayout(sf.FileName()).at("TvdrCars"), QByteArray("0000000=2001\tMake\tModel\r\n"));
    sf.Close();
    EXPECT_TRUE(sf.FileName().isEmpty());

    // Created but never written: opens as empty.
    TkvxStreamFile other;
    other.Open(db, false);
    other.Close();
    other.Open(db, true);
    EXPECT_EQ(other.Toc().Count(), 0);
}

TEST_F(StreamFileTest, EmptyStreamsAndStreamsReadIntoAPositionedDestination) {
    sf.Open(db, false);
    sf.WriteStream(QStringLiteral("Empty"), 0, QByteArray());
    const QByteArray file = ReadWholeFile(db);
    EXPECT_EQ(Le32(file, 4), 0) << "an empty stream is stored with L = 0";
    EXPECT_EQ(sf.ReadStream(QStringLiteral("Empty")), QByteArray());

    sf.WriteStream(QStringLiteral("Data"), 0, QByteArray("new"));
    QBuffer dest;
    dest.open(QIODevice::ReadWrite);
    dest.write("old");
    sf.ReadStream(QStringLiteral("Data"), dest);
    EXPECT_EQ(dest.data(), QByteArray("oldnew"));

    // The source is stored whole, whatever its position.
    QBuffer source;
    source.open(QIODevice::ReadWrite);
    source.write("whole content");
    sf.WriteStream(QStringLiteral("FromDevice"), 0, source);
    EXPECT_EQ(sf.ReadStream(QStringLiteral("FromDevice")), QByteArray("whole content"));
}

TEST_F(StreamFileTest, RewritesReuseTheOldBlockWhenItFitsAndAppendWhenItDoesNot) {
    sf.Open(db, false);
    const QByteArray big = Pattern(4000, 1);
    sf.WriteStream(QStringLiteral("A"), 0, big);
    sf.WriteStream(QStringLiteral("B"), 0, Pattern(3000, 2));
    sf.WriteStream(QStringLiteral("C"), 0, Pattern(3000, 3));
    const int offsetB = EntryOffset(QStringLiteral("B"));
    const int sizeB = sf.Toc().Entry(1).Size;

    // Same compressed size: same offset, no gap.
    sf.WriteStream(QStringLiteral("B"), 0, Pattern(3000, 2));
    EXPECT_EQ(EntryOffset(QStringLiteral("B")), offsetB);
    EXPECT_EQ(sf.Toc().Count(), 3);

    // Smaller: the front of the old block, the difference left free behind it.
    sf.WriteStream(QStringLiteral("B"), 0, QByteArray("tiny"));
    EXPECT_EQ(EntryOffset(QStringLiteral("B")), offsetB);
    ASSERT_EQ(sf.Toc().Count(), 4);
    EXPECT_TRUE(sf.Toc().Entry(2).Free);
    EXPECT_EQ(sf.Toc().Entry(2).Offset, offsetB + sf.Toc().Entry(1).Size);
    EXPECT_EQ(sf.Toc().Entry(1).Size + sf.Toc().Entry(2).Size, sizeB);

    // Larger than any gap: appended, and the old block becomes free and
    // merges with the gap behind it.
    sf.WriteStream(QStringLiteral("B"), 0, Pattern(6000, 9));
    EXPECT_GT(EntryOffset(QStringLiteral("B")), EntryOffset(QStringLiteral("C")));
    EXPECT_TRUE(sf.Toc().Entry(1).Free);
    EXPECT_EQ(sf.Toc().Entry(1).Size, sizeB);

    // A gap directly before the old block: the released block merges with it
    // and the new block starts at the gap's offset.
    const int offsetC = EntryOffset(QStringLiteral("C"));
    sf.WriteStream(QStringLiteral("C"), 0, Pattern(2500, 3));
    EXPECT_EQ(EntryOffset(QStringLiteral("C")), offsetB);
    EXPECT_LT(EntryOffset(QStringLiteral("C")), offsetC);
    EXPECT_EQ(ReadByLayout(db).at("A"), big);
}

TEST_F(StreamFileTest, DeletingThreeAdjacentStreamsInAnyOrderLeavesOneGap) {
    const QStringList ids = {QStringLiteral("S1"), QStringLiteral("S2"), QStringLiteral("S3")};
    std::vector<int> order = {0, 1, 2};
    do {
        QFile::remove(db);
        TkvxStreamFile f;
        f.Open(db, false);
        f.WriteStream(QStringLiteral("Before"), 0, Pattern(500, 7));
        for (const QString &id : ids)
            f.WriteStream(id, 0, Pattern(800, unsigned(id.back().unicode())));
        f.WriteStream(QStringLiteral("After"), 0, Pattern(500, 8));
        const int start = f.Toc().Entry(1).Offset;
        const int end = f.Toc().Entry(4).Offset;
        for (int i : order)
            f.DeleteStream(ids[i]);
        ASSERT_EQ(f.Toc().Count(), 3);
        EXPECT_TRUE(f.Toc().Entry(1).Free);
        EXPECT_EQ(f.Toc().Entry(1).Offset, start);
        EXPECT_EQ(f.Toc().Entry(1).Size, end - start);
        EXPECT_EQ(ReadByLayout(db).size(), 2u);
    } while (std::next_permutation(order.begin(), order.end()));

    // Deleting an Id that is not there only rewrites the TOC.
    sf.Open(db, false);
    const QByteArray before = ReadWholeFile(db);
    sf.DeleteStream(QStringLiteral("NotThere"));
    EXPECT_EQ(ReadWholeFile(db), before);
}

TEST_F(StreamFileTest, IdsAreCaseInsensitiveAndKeepTheNewSpelling) {
    sf.Open(db, false);
    sf.WriteStream(QStringLiteral("TvdrCars"), 0, QByteArray("one"));
    sf.WriteStream(QStringLiteral("  tvdrcars "), 0, QByteArray("two"));
    ASSERT_EQ(sf.Toc().Count(), 1);
    EXPECT_EQ(sf.Toc().Entry(0).Id, QStringLiteral("tvdrcars"));
    EXPECT_EQ(sf.ReadStream(QStringLiteral("TVDRCARS")), QByteArray("two"));

    EXPECT_EQ(ErrorMessageOf([&] { sf.ReadStream(QStringLiteral(" Missing ")); }),
              "Id ( Missing ) does not exist");
    // A blank Id stores nothing; an Id that would break the TOC text is refused.
    sf.WriteStream(QStringLiteral(" \t"), 0, QByteArray("x"));
    EXPECT_EQ(sf.Toc().Count(), 1);
    EXPECT_EQ(ErrorMessageOf([&] {
                  sf.WriteStream(QStringLiteral("a\x01"
                                                "b"),
                                 0, QByteArray("x"));
              }),
              "Id (a\x01"
              "b) holds the byte 0x01, which separates the table of contents");
    EXPECT_EQ(ReadByLayout(db).size(), 1u);
}

TEST_F(StreamFileTest, AnIdCodePage1252CannotHoldIsRefusedBeforeAnythingIsWritten) {
    sf.Open(db, false);
    sf.WriteStream(QStringLiteral("A"), 0, QByteArray("a"));
    const QByteArray before = ReadWholeFile(db);
    // Written twice, such Ids were stored as "????" both times: two entries
    // of one name, and a file that no longer opens.
    for (int round = 0; round < 2; ++round)
        EXPECT_EQ(ErrorMessageOf([&] { sf.WriteStream(QString::fromUtf8("Фото"), 0, QByteArray("x")); }),
                  "Id (Фото) holds \"Ф\", which code page 1252 cannot hold");
    EXPECT_EQ(ErrorMessageOf([&] { sf.WriteStream(QString::fromUtf8("Car 🚗"), 0, QByteArray("x")); }),
              "Id (Car 🚗) holds \"🚗\", which code page 1252 cannot hold");
    EXPECT_EQ(ReadWholeFile(db), before);

    // What 1252 holds is taken, the bytes it leaves undefined too.
    sf.WriteStream(QString::fromUtf8("Café €") + QChar(0x81), 0, QByteArray("b"));
    sf.Close();
    sf.Open(db, true);
    EXPECT_EQ(sf.ReadStream(QString::fromUtf8("CAFÉ €") + QChar(0x81)), QByteArray("b"));
}

TEST_F(StreamFileTest, AStreamLargerThanAStreamMayHoldIsRefused) {
    sf.Open(db, false);
    const QByteArray before = ReadWholeFile(db);
    EXPECT_EQ(ErrorMessageOf(
                  [&] { sf.WriteStream(QStringLiteral("Big"), 0, QByteArray(64 * 1024 * 1024 + 1, 'x')); }),
              "stream Big would hold 67108865 bytes, more than the 67108864 a stream may hold");
    EXPECT_EQ(ReadWholeFile(db), before);
}

TEST_F(StreamFileTest, ClosedContainersDoNothingAndReadOnlyOpensNeedAFile) {
    sf.WriteStream(QStringLiteral("A"), 0, QByteArray("x"));
    sf.DeleteStream(QStringLiteral("A"));
    sf.Compact();
    EXPECT_TRUE(sf.ReadStream(QStringLiteral("A")).isEmpty());
    EXPECT_EQ(ErrorMessageOf([&] { sf.Open(db, true); }), "can not create file in readonly mode");
    EXPECT_FALSE(sf.IsOpen());
    EXPECT_FALSE(QFile::exists(db));
}

TEST_F(StreamFileTest, CompactionDropsTheGapsAndKeepsEveryStream) {
    sf.Open(db, false);
    std::map<QByteArray, QByteArray> expected;
    for (int i = 0; i < 12; ++i) {
        const QString id = QStringLiteral("Stream%1").arg(i);
        expected[id.toLatin1()] = Pattern(200 + 150 * i, unsigned(i));
        sf.WriteStream(id, 5, expected[id.toLatin1()]);
    }
    for (int i = 0; i < 12; i += 3) {
        sf.DeleteStream(QStringLiteral("Stream%1").arg(i));
        expected.erase(QStringLiteral("Stream%1").arg(i).toLatin1());
    }
    sf.WriteStream(QStringLiteral("Stream1"), 0, QByteArray("short now"));
    expected["Stream1"] = "short now";
    QStringList orderBefore;
    for (int i = 0; i < sf.Toc().Count(); ++i)
        if (!sf.Toc().Entry(i).Free)
            orderBefore << sf.Toc().Entry(i).Id;
    ::chmod(db.toLocal8Bit().constData(), 0640);

    sf.Compact();

    EXPECT_TRUE(sf.IsOpen());
    EXPECT_FALSE(sf.IsReadOnly());
    QStringList orderAfter;
    qint64 next = 4;
    for (int i = 0; i < sf.Toc().Count(); ++i) {
        const TkvxSfTocEntry &e = sf.Toc().Entry(i);
        EXPECT_FALSE(e.Free);
        EXPECT_EQ(e.Offset, next);
        next += e.Size;
        orderAfter << e.Id;
    }
    EXPECT_EQ(orderAfter, orderBefore);
    EXPECT_EQ(ReadByLayout(db), expected);
    EXPECT_EQ(sf.Toc().Entry(sf.Toc().IndexOfId(QStringLiteral("Stream2"))).Tag, 5);
    // Nothing is left beside the database but the writer's empty journal,
    // and its permissions survive.
    EXPECT_EQ(QDir(folder.Path()).entryList(QDir::Files),
              QStringList({QStringLiteral("Vandor.dat"), QStringLiteral("Vandor.dat-journal")}));
    EXPECT_FALSE(TkvxSfJournal::HoldsChange(db));
    struct stat st;
    ASSERT_EQ(::stat(db.toLocal8Bit().constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);
    // The compacted file is still held for writing.
    TkvxStreamFile second;
    EXPECT_NE(ErrorMessageOf([&] { second.Open(db, false); }), "(no error)");
    // And the container goes on working on the new file.
    sf.WriteStream(QStringLiteral("Stream2"), 0, QByteArray("after"));
    expected["Stream2"] = "after";
    EXPECT_EQ(ReadByLayout(db), expected);
}

TEST_F(StreamFileTest, OneWriterAtATimeWhileReadersShare) {
    sf.Open(db, false);
    sf.WriteStream(QStringLiteral("A"), 0, QByteArray("shared"));
    TkvxStreamFile writer;
    const std::string refused = ErrorMessageOf([&] { writer.Open(db, false); });
    EXPECT_NE(refused.find("opened for writing by another process"), std::string::npos) << refused;
    EXPECT_FALSE(writer.IsOpen());

    TkvxStreamFile reader1, reader2;
    reader1.Open(db, true);
    reader2.Open(db, true);
    EXPECT_EQ(reader2.ReadStream(QStringLiteral("A")), QByteArray("shared"));
    EXPECT_NE(ErrorMessageOf([&] { reader1.WriteStream(QStringLiteral("A"), 0, QByteArray("x")); }),
              "(no error)");

    sf.Close();
    writer.Open(db, false);
    EXPECT_TRUE(writer.IsOpen());
}

TEST_F(StreamFileTest, DamagedFilesFailToOpenAndLeaveTheContainerClosed) {
    {
        TkvxStreamFile f;
        f.Open(db, false);
        f.WriteStream(QStringLiteral("A"), 0, Pattern(1000, 1));
        f.WriteStream(QStringLiteral("B"), 0, Pattern(1000, 2));
    }
    const QByteArray good = ReadWholeFile(db);
    const qint32 tocSize = Le32(good, 0);
    // `message` without the file's name in front.
    auto expectRefused = [&](const QByteArray &bytes, const std::string &message) {
        const std::string &what = message;
        WriteWholeFile(db, bytes);
        TkvxStreamFile f;
        const std::string error = ErrorMessageOf([&] { f.Open(db, false); });
        EXPECT_EQ(error.substr(0, 1) == "/" ? error.substr(db.size()) : error, message);
        EXPECT_FALSE(f.IsOpen()) << what;
        EXPECT_TRUE(f.FileName().isEmpty()) << what;
        // The object starts afresh afterwards.
        WriteWholeFile(db, good);
        f.Open(db, true);
        EXPECT_EQ(f.ReadStream(QStringLiteral("B")), Pattern(1000, 2)) << what;
    };
    expectRefused(QByteArray(), " is damaged: it is 0 bytes long, too short for a header");
    expectRefused(QByteArray("\x01\x00", 2), " is damaged: it is 2 bytes long, too short for a header");
    expectRefused(QByteArray("\xFF\xFF\xFF\xFF", 4) + good.mid(4),
                  " is damaged: its table of contents (-1 bytes) does not fit a file of 1969 bytes");
    QByteArray tooLarge = good;
    qToLittleEndian<qint32>(qint32(good.size()), tooLarge.data());
    expectRefused(tooLarge,
                  " is damaged: its table of contents (1969 bytes) does not fit a file of 1969 bytes");
    expectRefused(good.left(good.size() - 3),
                  "damaged block: it claims 429772846 bytes, more than the 67108864 a stream may hold");
    QByteArray garbled = good;
    garbled[good.size() - tocSize + 8] = char(garbled[good.size() - tocSize + 8] ^ 0x55);
    expectRefused(garbled, "damaged block: zlib error -3 (incorrect data check)");

    // TOCs that parse but point outside the data region or twice at one Id.
    auto withToc = [&](const QByteArray &tocText) {
        QByteArray file = good.left(good.size() - tocSize);
        const QByteArray block = TkvxStreamFile::Compress(tocText);
        qToLittleEndian<qint32>(qint32(block.size()), file.data());
        return file + block;
    };
    expectRefused(
        withToc("4\x01"
                "999999\x01"
                "0\x01"
                "0\x01"
                "A"),
        " is damaged: entry 0 of its table of contents (offset 4, size 999999) lies outside the data "
        "region or overlaps another");
    expectRefused(
        withToc("4\x01"
                "10\x01"
                "0\x01"
                "0\x01"
                "A\x02"
                "8\x01"
                "10\x01"
                "0\x01"
                "0\x01"
                "B"),
        " is damaged: entry 1 of its table of contents (offset 8, size 10) lies outside the data region "
        "or overlaps another");
    // Two entries whose Ids differ only in letter case.
    const QByteArray caseTwins = withToc("4\x01"
                                         "10\x01"
                                         "0\x01"
                                         "0\x01"
                                         "A\x02"
                                         "14\x01"
                                         "10\x01"
                                         "0\x01"
                                         "0\x01"
                                         "a");
    expectRefused(caseTwins, "Id (a) already exists");
    WriteWholeFile(db, caseTwins);
    TkvxStreamFile f;
    EXPECT_EQ(ErrorMessageOf([&] { f.Open(db, true); }), "Id (a) already exists");
}

TEST_F(StreamFileTest, EmptyGapsInFrontOfManyEntriesAreDropped) {
    // A TOC text of separators alone packs a million empty gaps into about a
    // kilobyte; dropping them one at a time from in front of the real entries
    // moved those entries a million times.
    const int entries = 20000;
    QByteArray file(4 + entries, 'x');
    const QByteArray toc = QByteArray(1000000, '\x02') + TocRecords(entries);
    const QByteArray block = TkvxStreamFile::Compress(toc);
    qToLittleEndian<qint32>(qint32(block.size()), file.data());
    WriteWholeFile(db, file + block);

    sf.Open(db, true); // its time: vandor_bench_large_input
    ASSERT_EQ(sf.Toc().Count(), entries);
    EXPECT_EQ(sf.Toc().Entry(0).Offset, 4);
    EXPECT_EQ(sf.RawBlock(QStringLiteral("S19999")), QByteArray("x"));
}

TEST_F(StreamFileTest, ADamagedBlockFailsOnlyItsOwnRead) {
    sf.Open(db, false);
    sf.WriteStream(QStringLiteral("A"), 0, Pattern(2000, 1));
    sf.WriteStream(QStringLiteral("B"), 0, Pattern(2000, 2));
    const int offsetA = EntryOffset(QStringLiteral("A"));
    const int sizeA = sf.Toc().Entry(0).Size;
    sf.Close();

    auto readAfter = [&](qint64 at, const QByteArray &bytes) {
        const QByteArray good = ReadWholeFile(db);
        Corrupt(db, at, bytes);
        TkvxStreamFile f;
        f.Open(db, true);
        const std::string error = ErrorMessageOf([&] { f.ReadStream(QStringLiteral("A")); });
        EXPECT_EQ(f.ReadStream(QStringLiteral("B")), Pattern(2000, 2));
        WriteWholeFile(db, good);
        return error;
    };
    // Damaged deflate data, a length claiming fewer or more bytes than the
    // data inflate to, more than deflate can give, more than a stream may
    // hold.
    EXPECT_EQ(readAfter(offsetA + sizeA / 2, QByteArray(8, '\x5A')),
              "damaged block: zlib error -3 (incorrect data check)");
    QByteArray len(4, '\0');
    qToLittleEndian<qint32>(1999, len.data());
    EXPECT_EQ(readAfter(offsetA, len), "damaged block: it inflates to 2000 bytes, not 1999");
    qToLittleEndian<qint32>(2001, len.data());
    EXPECT_EQ(readAfter(offsetA, len), "damaged block: it inflates to 2000 bytes, not 2001");
    qToLittleEndian<qint32>(20000000, len.data());
    EXPECT_EQ(readAfter(offsetA, len), "damaged block: 20000000 bytes cannot come from " +
                                           std::to_string(sizeA - 4) + " compressed bytes");
    qToLittleEndian<qint32>(0x7FFFFFFF, len.data());
    EXPECT_EQ(readAfter(offsetA, len),
              "damaged block: it claims 2147483647 bytes, more than the 67108864 a stream may hold");

    EXPECT_EQ(ErrorMessageOf([] { TkvxStreamFile::Decompress(QByteArray("\x00\x00", 2)); }),
              "damaged block: 2 bytes is too short");
    EXPECT_EQ(TkvxStreamFile::Decompress(TkvxStreamFile::Compress(QByteArray())), QByteArray());
    // Bytes after the zlib stream were always passed over; the faster
    // inflate must read such a block as the slower one did.
    EXPECT_EQ(TkvxStreamFile::Decompress(TkvxStreamFile::Compress(Pattern(3000, 7)) + "trailing"),
              Pattern(3000, 7));
}

// A block is written in room that grows as deflate needs it; the bytes are
// zlib's own one-shot output whatever the text, from none to text that
// does not compress at all.
// A rewrite of an unchanged block changes no byte only where it would land
// where it lies, under the same tag and spelling of its Id.
TEST_F(StreamFileTest, AnUnchangedBlockStaysWhereItLiesOnlyWithoutAGapToTakeIt) {
    sf.Open(db, false);
    std::mt19937 rng(4);
    QByteArray noise(400, Qt::Uninitialized);
    for (char &c : noise)
        c = char(rng());
    sf.WriteStream(QStringLiteral("A"), 0, noise);
    sf.WriteStream(QStringLiteral("B"), 0, Pattern(300, 1));
    sf.WriteStream(QStringLiteral("C"), 0, Pattern(300, 2));
    EXPECT_TRUE(sf.RewriteKeepsPlace(QStringLiteral("B"), 0));
    EXPECT_TRUE(sf.RewriteKeepsPlace(QStringLiteral("C"), 0));
    EXPECT_FALSE(sf.RewriteKeepsPlace(QStringLiteral("None"), 0));

    sf.DeleteStream(QStringLiteral("A"));
    EXPECT_FALSE(sf.RewriteKeepsPlace(QStringLiteral("B"), 0)) << "joined with the gap before it";
    EXPECT_FALSE(sf.RewriteKeepsPlace(QStringLiteral("C"), 0)) << "the first gap that fits comes first";

    sf.WriteStream(QStringLiteral("Tagged"), 7, Pattern(100, 3)); // into the front of the gap
    EXPECT_TRUE(sf.RewriteKeepsPlace(QStringLiteral("Tagged"), 7));
    EXPECT_FALSE(sf.RewriteKeepsPlace(QStringLiteral("Tagged"), 0)) << "a new tag is a change";
    EXPECT_FALSE(sf.RewriteKeepsPlace(QStringLiteral("TAGGED"), 7)) << "so is a new spelling";
    sf.Close();
    sf.Open(db, true);
    EXPECT_FALSE(sf.RewriteKeepsPlace(QStringLiteral("Tagged"), 7)) << "read-only";
}

TEST(StreamFileBlocks, BlocksAreZlibsOwnBytesForTextsThatCompressOrNot) {
    std::mt19937 rng(9);
    for (const int size : {0, 1, 1000, 2049, 5000, 70000, 300000}) {
        for (const bool random : {false, true}) {
            QByteArray text(size, Qt::Uninitialized);
            for (char &c : text)
                c = random ? char(rng()) : "0000001\t=abc\r\n"[rng() % 14];
            const QByteArray block = TkvxStreamFile::Compress(text);
            uLongf length = compressBound(uLong(size));
            QByteArray expected(qsizetype(length), Qt::Uninitialized);
            ASSERT_EQ(compress2(reinterpret_cast<Bytef *>(expected.data()), &length,
                                reinterpret_cast<const Bytef *>(text.constData()), uLong(size),
                                Z_DEFAULT_COMPRESSION),
                      Z_OK);
            expected.truncate(qsizetype(length));
            ASSERT_EQ(block.mid(4), expected) << size << (random ? " random" : "");
            ASSERT_EQ(qFromLittleEndian<qint32>(block.constData()), size);
            ASSERT_EQ(TkvxStreamFile::Decompress(block), text);
        }
    }
}

TEST_F(StreamFileTest, ManyRandomRewritesKeepTheLayoutSoundAndEveryStreamIntact) {
    sf.Open(db, false);
    std::mt19937 rng(20261209);
    std::map<QByteArray, QByteArray> expected;
    for (int step = 0; step < 600; ++step) {
        const QString id = QStringLiteral("S%1").arg(rng() % 15);
        const unsigned op = rng() % 10;
        if (op < 7) {
            const QByteArray data = Pattern(int(rng() % 3000), rng());
            sf.WriteStream(id, 0, data);
            expected[id.toLatin1()] = data;
        } else if (op < 9) {
            sf.DeleteStream(id);
            expected.erase(id.toLatin1());
        } else {
            sf.Compact();
        }
        if (step % 20 == 0 || op == 9) {
            ASSERT_EQ(ReadByLayout(db), expected) << "after step " << step;
        }
    }
    sf.Close();
    sf.Open(db, true);
    for (const auto &[id, data] : expected)
        EXPECT_EQ(sf.ReadStream(QString::fromLatin1(id)), data);
}

TEST_F(StreamFileTest, AWriterThatLockedAFileACompactionReplacedOpensTheNewOne) {
    sf.Open(db, false);
    sf.WriteStream(QStringLiteral("A"), 0, QByteArray("first"));
    sf.WriteStream(QStringLiteral("B"), 0, Pattern(3000, 1));
    sf.DeleteStream(QStringLiteral("B"));
    // The second writer has opened the old file when the first compacts,
    // renames the new one over it and closes: its lock on the old file then
    // comes free.
    TkvxSfFaults::SetBeforeLock([this] {
        sf.Compact();
        sf.Close();
    });
    TkvxStreamFile second;
    second.Open(db, false);
    second.WriteStream(QStringLiteral("C"), 0, QByteArray("second"));
    second.Close();
    EXPECT_EQ(ReadByLayout(db), (std::map<QByteArray, QByteArray>{{"A", "first"}, {"C", "second"}}))
        << "the write went into the file that bears the name";
}

TEST_F(StreamFileTest, ReadersAndAChangeWaitForEachOther) {
    TkvxSfFile::SetLockWait(50);
    sf.Open(db, false);
    sf.WriteStream(QStringLiteral("A"), 0, QByteArray("before"));
    const QByteArray before = ReadWholeFile(db);
    const std::string busy = (db + " is being changed or read by another process; try again").toStdString();
    {
        TkvxStreamFile reader;
        reader.Open(db, true);
        EXPECT_EQ(ErrorMessageOf([&] { sf.WriteStream(QStringLiteral("A"), 0, QByteArray("after")); }), busy);
        EXPECT_EQ(ReadWholeFile(db), before);
        EXPECT_EQ(sf.ReadStream(QStringLiteral("A")), QByteArray("before"));
    }
    sf.WriteStream(QStringLiteral("A"), 0, QByteArray("after"));

    // A writer that stops in the middle of its change still holds the lock:
    // a reader waits instead of reading half a change, and once the writer
    // is gone finds the change put back.
    TkvxSfFaults::SetFlushing(false);
    TkvxSfFaults::StopAt(7);
    EXPECT_THROW(sf.WriteStream(QStringLiteral("A"), 0, Pattern(5000, 2)), EkvxSfStop);
    TkvxSfFaults::Reset();
    TkvxSfFaults::SetFlushing(true);
    TkvxStreamFile reader;
    EXPECT_EQ(ErrorMessageOf([&] { reader.Open(db, true); }), busy);
    EXPECT_FALSE(reader.IsOpen());
    sf.Close();
    reader.Open(db, true);
    EXPECT_EQ(reader.ReadStream(QStringLiteral("A")), QByteArray("after"));
    TkvxSfFile::SetLockWait(10000);
}

TEST_F(StreamFileTest, AKilledCompactionLeavesNothingAfterTheNextOpen) {
    sf.Open(db, false);
    sf.WriteStream(QStringLiteral("A"), 0, Pattern(4000, 1));
    sf.WriteStream(QStringLiteral("B"), 0, Pattern(100, 2));
    sf.DeleteStream(QStringLiteral("A"));
    TkvxSfFaults::StopAt(3); // the compaction's file is made and partly written
    EXPECT_THROW(sf.Compact(), EkvxSfStop);
    TkvxSfFaults::Reset();
    sf.Close();
    const QString otherDatabase = folder.File(QStringLiteral("Other.dat-ksf123456.tmp"));
    WriteWholeFile(otherDatabase, "another database's");
    const QStringList left =
        QDir(folder.Path()).entryList({QStringLiteral("Vandor.dat-ksf*.tmp")}, QDir::Files);
    ASSERT_EQ(left.size(), 1);

    sf.Open(db, true);
    EXPECT_TRUE(QFile::exists(folder.File(left[0]))) << "a reader removes nothing";
    sf.Close();
    sf.Open(db, false);
    EXPECT_EQ(QDir(folder.Path()).entryList(QDir::Files),
              QStringList({QStringLiteral("Other.dat-ksf123456.tmp"), QStringLiteral("Vandor.dat")}));
}

TEST_F(StreamFileTest, FileToFileCopiesAreExactAndStopOrFailLikeWrites) {
    const QString sourceName = folder.File(QStringLiteral("source.bin"));
    const QByteArray bytes = Pattern(300000, 7);
    WriteWholeFile(sourceName, bytes);
    TkvxSfFile source(sourceName, TkvxSfFile::Mode::ReadPlain);
    const auto target =
        TkvxSfFile::CreateUnique(folder.Path(), QStringLiteral("copy-"), QStringLiteral(".bin"));
    target->WriteAt(0, "head");
    target->CopyFrom(source, 1000, 250000, 4);
    target->CopyFrom(source, 0, 0, 4); // nothing to copy
    EXPECT_EQ(ReadWholeFile(target->FileName()), "head" + bytes.mid(1000, 250000));

    EXPECT_EQ(ErrorMessageOf([&] { target->CopyFrom(source, 299990, 11, 0); }),
              (sourceName + " is damaged: 11 bytes at offset 299990 lie outside the file").toStdString());
    TkvxSfFaults::FailAt(1, ENOSPC);
    EXPECT_EQ(ErrorMessageOf([&] { target->CopyFrom(source, 0, 10, 0); }),
              ("cannot write " + target->FileName() + ": No space left on device").toStdString());
    // A torn copy writes half, as a torn write does.
    target->Truncate(0);
    TkvxSfFaults::StopAt(1, true);
    EXPECT_THROW(target->CopyFrom(source, 10, 100, 0), EkvxSfStop);
    TkvxSfFaults::Reset();
    EXPECT_EQ(ReadWholeFile(target->FileName()), bytes.mid(10, 50));
}

// Reads that fit take no look at the size; those that do not are refused
// with one message whether they start inside, at or past the end, or ask
// for more than any file of ours can hold.
TEST_F(StreamFileTest, ReadsOutsideTheFileAreRefusedWithoutTakingTheirRoom) {
    const QString name = folder.File(QStringLiteral("plain.bin"));
    const QByteArray bytes = Pattern(1000, 3);
    WriteWholeFile(name, bytes);
    TkvxSfFile file(name, TkvxSfFile::Mode::ReadPlain);
    EXPECT_EQ(file.ReadAt(5, 10), bytes.mid(5, 10));
    EXPECT_EQ(file.ReadAt(1000, 0), QByteArray());
    EXPECT_EQ(file.ReadAt(0, 1000), bytes);
    const auto outside = [&](qint64 offset, qint64 length) {
        return (name + QStringLiteral(" is damaged: %1 bytes at offset %2 lie outside the file")
                           .arg(length)
                           .arg(offset))
            .toStdString();
    };
    for (const auto &read : std::vector<std::pair<qint64, qint64>>{
             {990, 11}, {1000, 1}, {5000, 4}, {-1, 1}, {0, -1}, {0, qint64(3) << 30}})
        EXPECT_EQ(ErrorMessageOf([&] { file.ReadAt(read.first, read.second); }),
                  outside(read.first, read.second));
}

// What the container asks of a file: type, identity and size, of a link
// itself or of what it leads to.
TEST_F(StreamFileTest, AStatusTellsTypeIdentityAndSizeOfAFileOrALink) {
    const QString name = folder.File(QStringLiteral("plain.bin"));
    WriteWholeFile(name, Pattern(1234, 5));
    ::chmod(QFile::encodeName(name).constData(), 0640);
    const QString link = folder.File(QStringLiteral("link.bin"));
    ASSERT_TRUE(QFile::link(name, link));
    TkvxSfFile file(name, TkvxSfFile::Mode::ReadPlain);

    const TkvxSfStatus named = TkvxSfStatus::Of(name, false);
    EXPECT_TRUE(named.Found && named.Regular);
    EXPECT_EQ(named.Size, 1234);
    EXPECT_EQ(named.Permissions, 0640u);
    EXPECT_EQ(file.Size(), 1234);
    EXPECT_EQ(file.Permissions(), 0640u);

    const TkvxSfStatus linkItself = TkvxSfStatus::Of(link, false);
    EXPECT_TRUE(linkItself.Found);
    EXPECT_FALSE(linkItself.Regular);
    EXPECT_FALSE(linkItself.IsSameFileAs(named));
    EXPECT_TRUE(TkvxSfStatus::Of(link, true).IsSameFileAs(named));
    EXPECT_TRUE(file.IsAt(link)) << "IsAt follows a link to the file";

    EXPECT_FALSE(TkvxSfStatus::Of(folder.File(QStringLiteral("none")), false).Found);
    EXPECT_EQ(errno, ENOENT);
    EXPECT_FALSE(file.IsAt(folder.File(QStringLiteral("none"))));
    QFile::remove(name);
    WriteWholeFile(name, "another file at the name");
    EXPECT_FALSE(file.IsAt(name));
}

TEST_F(StreamFileTest, LeftoversAreFoundAmongManyFiles) {
    sf.Open(db, false);
    sf.WriteStream(QStringLiteral("A"), 0, Pattern(100, 2));
    sf.Close();
    // More names than one read of the folder returns.
    for (int i = 0; i < 300; ++i)
        WriteWholeFile(folder.File(QStringLiteral("unrelated-file-with-a-long-name-%1.txt").arg(i)), "x");
    const QString leftover = folder.File(QStringLiteral("Vandor.dat-ksfAbC123.tmp"));
    WriteWholeFile(leftover, "half a compaction");
    sf.Open(db, false);
    EXPECT_FALSE(QFile::exists(leftover));
    EXPECT_EQ(QDir(folder.Path()).entryList(QDir::Files).size(), 301);
    EXPECT_EQ(sf.ReadStream(QStringLiteral("A")), Pattern(100, 2));
}

TEST_F(StreamFileTest, ACompactionWhoseFolderCannotBeFlushedFails) {
    sf.Open(db, false);
    sf.WriteStream(QStringLiteral("A"), 0, Pattern(4000, 1));
    sf.WriteStream(QStringLiteral("B"), 0, Pattern(100, 2));
    sf.DeleteStream(QStringLiteral("A"));
    TkvxSfFaults::StopAt(0);
    {
        TkvxStreamFile copy;
        WriteWholeFile(folder.File(QStringLiteral("copy.dat")), ReadWholeFile(db));
        copy.Open(folder.File(QStringLiteral("copy.dat")), false);
        TkvxSfFaults::StopAt(0);
        copy.Compact();
    }
    const qint64 lastOperation = TkvxSfFaults::Count(); // flushing the folder after the rename
    TkvxSfFaults::FailAt(lastOperation, EIO);
    EXPECT_EQ(ErrorMessageOf([&] { sf.Compact(); }),
              ("cannot flush the folder " + folder.Path() + ": Input/output error").toStdString());
    TkvxSfFaults::Reset();
    EXPECT_EQ(sf.Toc().Count(), 1) << "the compacted file is the database now";
    sf.WriteStream(QStringLiteral("C"), 0, QByteArray("on"));
    EXPECT_EQ(ReadByLayout(db), (std::map<QByteArray, QByteArray>{{"B", Pattern(100, 2)}, {"C", "on"}}));
}
