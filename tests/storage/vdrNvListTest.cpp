#include "vdrNvList.h"
#include "kvxNvList.h"
#include "kvxStreamFile.h"
#include "vdrCompareText.h"
#include "vdrEntity.h"
#include "vdrTestSupport.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

TEST(NvList, SetValueKeepsKeyOrderAndBlankValuesRemoveRows) {
    TvdrNvList t;
    t.SetValue(QStringLiteral("0000003"), QStringLiteral("c"));
    t.SetValue(QStringLiteral("0000001"), QStringLiteral("a"));
    t.SetValue(QStringLiteral("0000002"), QStringLiteral(" b "));
    EXPECT_EQ(t.Text(), QStringLiteral("0000001=a\r\n0000002= b \r\n0000003=c\r\n"));

    // Replacing keeps the row's place.
    t.SetValue(QStringLiteral("0000002"), QStringLiteral("B"));
    EXPECT_EQ(t.Get(1), QStringLiteral("0000002=B"));
    t.SetValue(QStringLiteral("0000003"), QString());
    t.SetValue(QStringLiteral("0000001"), QStringLiteral(" \t "));
    EXPECT_EQ(t.Text(), QStringLiteral("0000002=B\r\n"));
    t.SetValue(QStringLiteral("  "), QStringLiteral("x"));
    EXPECT_EQ(t.Count(), 1);
    t.DeleteName(QStringLiteral("missing"));
    EXPECT_EQ(t.Count(), 1);
}

TEST(NvList, GetValueAndDefaults) {
    TvdrNvList t;
    t.SetValue(QStringLiteral("0000001\t0000002"), QStringLiteral("731655\t120\t45.5"));
    t.SetValue(QStringLiteral("Key"), QStringLiteral("a=b"));
    EXPECT_EQ(t.GetValue(QStringLiteral("0000001\t0000002")), QStringLiteral("731655\t120\t45.5"));
    EXPECT_EQ(t.GetValue(QStringLiteral(" key ")), QStringLiteral("a=b")) << "names trimmed, case ignored";
    EXPECT_EQ(t.GetValue(QStringLiteral("nothing")), QString());
    t.SetDefault(202);
    EXPECT_EQ(t.GetValue(QStringLiteral("nothing")), QStringLiteral("202"));
    t.SetDefault(QStringLiteral("  x  "));
    EXPECT_EQ(t.GetValue(QString()), QStringLiteral("x"));
    TkvxNvList k;
    EXPECT_EQ(k.GetValue(QStringLiteral("x")), QString());
}

TEST(NvList, BinarySearchAgreesWithAScanOverRandomKeys) {
    TvdrNvList t;
    QRandomGenerator rng(7);
    QStringList names;
    for (int i = 0; i < 400; ++i) {
        const QString name = QStringLiteral("%1\t%2")
                                 .arg(rng.bounded(60), 7, 10, QLatin1Char('0'))
                                 .arg(rng.bounded(9), 7, 10, QLatin1Char('0'));
        t.SetValue(name, QString::number(i));
        names << name;
    }
    for (int i = 1; i < t.Count(); ++i)
        ASSERT_LT(CompareText(TvdrNvList::NameOf(t.Get(i - 1)), TvdrNvList::NameOf(t.Get(i))), 0);
    for (int probe = 0; probe < 60; ++probe) {
        const QString name = QStringLiteral("%1\t%2")
                                 .arg(probe, 7, 10, QLatin1Char('0'))
                                 .arg(probe % 9, 7, 10, QLatin1Char('0'));
        int scan = -1;
        for (int i = 0; i < t.Count(); ++i)
            if (SameText(TvdrNvList::NameOf(t.Get(i)), name))
                scan = i;
        EXPECT_EQ(t.IndexOfName(name), scan);
        int at = -1;
        EXPECT_EQ(t.FindInsertPos(name, at), scan >= 0);
        if (scan >= 0) {
            EXPECT_EQ(at, scan);
        } else if (at < t.Count()) {
            EXPECT_GT(CompareText(TvdrNvList::NameOf(t.Get(at)), name), 0);
        }
    }
}

TEST(NvList, RowsLoadedOutOfOrderAreSortedBeforeTheyAreSearched) {
    TvdrNvList t;
    t.SetText(QStringLiteral("0000005=e\r\n0000001=a\r\n0000003=c\r\n"));
    EXPECT_EQ(t.Get(0), QStringLiteral("0000001=a"));
    EXPECT_EQ(t.GetValue(QStringLiteral("0000005")), QStringLiteral("e"));
}

TEST(Entity, TheFieldTrimsWritesThroughAndIsRebound) {
    TvdrEntity t;
    TvdrField &f = t.Field(QStringLiteral(" 0000003 "));
    EXPECT_EQ(f.RowName(), QStringLiteral("0000003"));
    EXPECT_EQ(f.AsString(), QString());
    f.SetAsString(QStringLiteral("  2004\tFord\tTaurus\t  "));
    EXPECT_EQ(t.Get(0), QStringLiteral("0000003=2004\tFord\tTaurus"));
    EXPECT_FALSE(f.AsBoolean());
    f.SetAsBoolean(true);
    EXPECT_EQ(t.GetValue(QStringLiteral("0000003")), QStringLiteral("1"));
    EXPECT_TRUE(t.Field(QStringLiteral("0000003")).AsBoolean());
    f.SetAsInteger(-42);
    EXPECT_EQ(f.AsInteger(), -42);
    f.SetAsString(QStringLiteral("12abc"));
    EXPECT_EQ(f.AsInteger(), 0);

    // A second Field call rebinds the same object; writing an empty text
    // deletes the row it is bound to.
    TvdrField &g = t.Field(QStringLiteral("0000004"));
    EXPECT_EQ(&g, &f);
    g.SetAsString(QStringLiteral("x"));
    t.Field(QStringLiteral("0000003")).SetAsString(QStringLiteral("   "));
    EXPECT_EQ(t.Text(), QStringLiteral("0000004=x\r\n"));
}

TEST(NvList, SetValuesInOneMergeAgreesWithSetValueOneByOne) {
    // Replacements, removals by a blank value, names repeated in the batch
    // and names that differ only in letter case, in random order; names with
    // accents and with characters the code page stores as "?".
    QRandomGenerator rng(11);
    for (int round = 0; round < 20; ++round) {
        TvdrNvList one;
        TvdrNvList batch;
        for (int i = 0; i < 50; ++i) {
            const QString name = QStringLiteral("K%1").arg(rng.bounded(80), 3, 10, QLatin1Char('0'));
            one.SetValue(name, QString::number(i));
            batch.SetValue(name, QString::number(i));
        }
        QList<QPair<QString, QString>> rows;
        for (int i = 0; i < 60; ++i) {
            QString name = QStringLiteral(" k%1 ").arg(rng.bounded(100), 3, 10, QLatin1Char('0'));
            if (rng.bounded(2))
                name = name.toUpper();
            if (rng.bounded(6) == 0)
                name += rng.bounded(2) ? QStringLiteral("\U0001F600") : QStringLiteral("\u00E9");
            rows.append({name, rng.bounded(5) == 0 ? QStringLiteral(" ") : QStringLiteral("v%1").arg(i)});
        }
        for (const auto &[name, value] : rows)
            one.SetValue(name, value);
        batch.SetValues(rows);
        ASSERT_EQ(batch.Text(), one.Text()) << round;
    }
}

// A name is looked up as it is stored: a character the code page cannot
// hold is "?" in the row, and the same name finds that row again.
TEST(NvList, ANameTheCodePageCannotHoldFindsItsStoredRow) {
    TvdrNvList t;
    t.SetValue(QStringLiteral("car \U0001F600"), QStringLiteral("1"));
    EXPECT_EQ(t.GetValue(QStringLiteral("car \U0001F600")), QStringLiteral("1"));
    t.SetValue(QStringLiteral("car \U0001F600"), QStringLiteral("2"));
    EXPECT_EQ(t.Text(), QStringLiteral("car ?=2\r\n")) << "replaced, not added twice";
    t.DeleteName(QStringLiteral("car \u0416"));
    EXPECT_EQ(t.Count(), 0);
}

// A value set to what it is already changes nothing: the table stays as
// stored and its next save writes nothing. Any other value, or the name in
// another spelling, is a change as before.
TEST(NvList, SettingAValueItHoldsAlreadyIsNoChange) {
    TvdrTempFolder folder;
    TkvxStreamFile db;
    db.Open(folder.File(QStringLiteral("Vandor.dat")), false);
    TvdrNvList options(QStringLiteral("TvdrOptions"));
    options.SetStreamFile(&db);
    options.SetValue(QStringLiteral("TfrmMaint"), QStringLiteral("10\t20\t800\t600\t0"));
    options.SetValue(QStringLiteral("Zoom"), QStringLiteral("100"));
    options.Save();
    const qint64 mark = options.StoredMark();
    ASSERT_GE(mark, 0);

    options.SetValue(QStringLiteral(" TfrmMaint "), QStringLiteral("10\t20\t800\t600\t0"));
    EXPECT_EQ(options.StoredMark(), mark);
    options.SetValue(QStringLiteral("TFRMMAINT"), QStringLiteral("10\t20\t800\t600\t0"));
    EXPECT_EQ(options.StoredMark(), -1);
    EXPECT_EQ(options.Get(0), QStringLiteral("TFRMMAINT=10\t20\t800\t600\t0")) << "the new spelling is kept";
    options.SetValue(QStringLiteral("Zoom"), QStringLiteral("90"));
    EXPECT_EQ(options.GetValue(QStringLiteral("Zoom")), QStringLiteral("90"));
    options.Save();
    EXPECT_EQ(db.ReadStream(QStringLiteral("TvdrOptions")),
              QByteArray("TFRMMAINT=10\t20\t800\t600\t0\r\nZoom=90\r\n"));
    options.SetStreamFile(nullptr);
}
