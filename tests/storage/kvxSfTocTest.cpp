#include "kvxSfToc.h"
#include "vdrError.h"

#include "vdrTestSupport.h"

#include <gtest/gtest.h>

namespace {

QByteArray Bytes(const char *text) {
    QByteArray b(text);
    b.replace('|', '\x01');
    b.replace('#', '\x02');
    return b;
}

} // namespace

TEST(SfTocText, WritesAndReadsTheRecordForm) {
    TkvxSfToc toc;
    toc.AddEntry(4, 120, QStringLiteral("TvdrCars"), false, 0);
    toc.AddEntry(124, 36, QString(), true, 0);
    EXPECT_EQ(toc.AsText(), Bytes("4|120|0|0|TvdrCars#124|36|1|0|"));

    TkvxSfToc back;
    back.FromText(toc.AsText());
    ASSERT_EQ(back.Count(), 2);
    EXPECT_EQ(back.Entry(0).Id, QStringLiteral("TvdrCars"));
    EXPECT_FALSE(back.Entry(0).Free);
    EXPECT_EQ(back.Entry(1).Offset, 124);
    EXPECT_EQ(back.Entry(1).Size, 36);
    EXPECT_TRUE(back.Entry(1).Free);
    EXPECT_TRUE(back.Entry(1).Id.isEmpty());
}

TEST(SfTocText, TokenizerAndDefaults) {
    TkvxSfToc toc;
    toc.FromText(QByteArray());
    EXPECT_EQ(toc.Count(), 0);

    // An empty record between two separators is a free entry at 0 of size 0;
    // a separator at the very end makes no further record.
    toc.FromText(Bytes("4|10|0|7|  A  ##14|x|0|0|B#"));
    ASSERT_EQ(toc.Count(), 3);
    EXPECT_EQ(toc.Entry(0).Id, QStringLiteral("A"));
    EXPECT_EQ(toc.Entry(0).Tag, 7);
    EXPECT_TRUE(toc.Entry(1).Free);
    EXPECT_EQ(toc.Entry(1).Offset, 0);
    EXPECT_EQ(toc.Entry(1).Size, 0);
    EXPECT_EQ(toc.Entry(2).Size, 0) << "an invalid number reads as 0";

    // Only the exact text "1" marks a gap in use as free, but a record without
    // the flag at all stays free.
    TkvxSfTocEntry e;
    e.FromText(Bytes("4|10|yes|0|C"));
    EXPECT_FALSE(e.Free);
    e.FromText(Bytes("4|10"));
    EXPECT_TRUE(e.Free);
    e.FromText(Bytes("4|10|0|0|C|extra|fields"));
    EXPECT_EQ(e.Id, QStringLiteral("C"));
}

TEST(SfTocText, IdsAreUniqueWithoutRegardToCaseAndIndexesAreChecked) {
    TkvxSfToc toc;
    EXPECT_EQ(ErrorMessageOf([&] { toc.FromText(Bytes("4|1|0|0|Cars#5|1|0|0|CARS")); }),
              "Id (CARS) already exists");
    toc.Clear();
    toc.AddEntry(4, 10, QStringLiteral(" TvdrCars "), false, 0);
    EXPECT_EQ(toc.Entry(0).Id, QStringLiteral("TvdrCars"));
    EXPECT_EQ(toc.IndexOfId(QStringLiteral("tvdrcars\t")), 0);
    EXPECT_EQ(toc.IndexOfId(QStringLiteral("   ")), -1);
    // Free gaps all share the empty Id.
    toc.AddEntry(14, 10, QString(), true, 0);
    toc.AddEntry(24, 10, QString(), true, 0);
    EXPECT_EQ(ErrorMessageOf([&] { toc.Entry(3); }), "TOC index (3) is out-of-range [0..2]");
    EXPECT_EQ(ErrorMessageOf([&] { toc.Delete(-1); }), "TOC index (-1) is out-of-range [0..2]");
    EXPECT_EQ(ErrorMessageOf([&] { toc.EntryById(QStringLiteral("Nope")); }), "Id (Nope) does not exist");
}

TEST(SfTocText, TheFirstRepeatIsReportedAlsoAmongAHundredThousandEntries) {
    TkvxSfToc toc;
    // Of two repeated Ids the one repeated first in the text is named, with
    // its own spelling; gaps without Id never clash.
    EXPECT_EQ(ErrorMessageOf(
                  [&] { toc.FromText(Bytes("4|1|0|0|x#5|1|1|0|#6|1|1|0|#7|1|0|0|y#8|1|0|0|Y#9|1|0|0|X")); }),
              "Id (Y) already exists");

    // A damaged file can hold a TOC of a hundred thousand entries; looking
    // each Id up among the ones before it took minutes.
    const int count = 100000;
    QByteArray text = TocRecords(count);
    toc.FromText(text); // its time: vandor_bench_large_input
    ASSERT_EQ(toc.Count(), count);
    EXPECT_EQ(toc.Entry(count - 1).Id, QStringLiteral("S99999"));
    EXPECT_EQ(ErrorMessageOf([&] { toc.FromText(text + Bytes("9|1|0|0|s12345")); }),
              "Id (s12345) already exists");
}

TEST(SfTocAllocation, FirstFitSplitsAndReleaseMerges) {
    TkvxSfToc toc;
    toc.AddEntry(4, 10, QString(), true, 0);
    toc.AddEntry(14, 10, QStringLiteral("A"), false, 0);
    toc.AddEntry(24, 50, QString(), true, 0);
    toc.AddEntry(74, 10, QStringLiteral("B"), false, 0);

    EXPECT_EQ(toc.FindFree(60), -1);
    // The first gap large enough, cut to size with the rest behind it.
    const int i = toc.FindFree(20);
    ASSERT_EQ(i, 2);
    EXPECT_EQ(toc.Entry(2).Size, 20);
    EXPECT_EQ(toc.Entry(3).Offset, 44);
    EXPECT_EQ(toc.Entry(3).Size, 30);
    EXPECT_TRUE(toc.Entry(3).Free);
    toc.Entry(2).Free = false;
    toc.Entry(2).Id = QStringLiteral("C");

    // Releasing A merges it with the gap in front; releasing C then merges it
    // with A's gap behind... and the rest of the old gap after it.
    EXPECT_EQ(toc.Release(QStringLiteral("A")), 0);
    EXPECT_EQ(toc.Entry(0).Size, 20);
    EXPECT_EQ(toc.Release(QStringLiteral("c")), 0);
    ASSERT_EQ(toc.Count(), 2);
    EXPECT_EQ(toc.Entry(0).Offset, 4);
    EXPECT_EQ(toc.Entry(0).Size, 70);
    EXPECT_EQ(toc.Entry(1).Id, QStringLiteral("B"));
    EXPECT_EQ(toc.Release(QStringLiteral("missing")), -1);
}
