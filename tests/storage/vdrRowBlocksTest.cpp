#include "vdrRowBlocks.h"

#include <QStringList>
#include <gtest/gtest.h>

TEST(RowBlocks, RowsKeepTheirTextAndEndInNulWhileSharingBlocks) {
    TvdrRowBlocks blocks(5000);
    ASSERT_TRUE(blocks.Shared());
    QStringList rows;
    QStringList expected;
    for (int i = 0; i < 5000; ++i) {
        const QString key = QString::number(i).rightJustified(7, QLatin1Char('0'));
        const QString value = QStringLiteral("Öl & Filter %1").arg(i % 13);
        rows.append(blocks.Make({key, u"=", value}));
        expected.append(key + QLatin1Char('=') + value);
    }
    EXPECT_EQ(rows, expected) << "rows of many blocks";
    for (const QString &row : std::as_const(rows)) {
        ASSERT_EQ(row.constData()[row.size()], QChar()) << row.toStdString();
        ASSERT_TRUE(row.data_ptr()->isShared()) << "the row points into a block";
    }
    // A change to one row leaves its neighbours in the block as they were.
    rows[1].append(QStringLiteral("!"));
    rows[2][0] = QLatin1Char('X');
    EXPECT_EQ(rows[1], expected[1] + QLatin1Char('!'));
    EXPECT_EQ(rows[2], QLatin1Char('X') + expected[2].mid(1));
    EXPECT_EQ(rows[0], expected[0]);
    EXPECT_EQ(rows[3], expected[3]);
    // A row kept alone outlives the others and its block's maker.
    const QString kept = rows[4000];
    rows.clear();
    EXPECT_EQ(kept, expected[4000]);
}

TEST(RowBlocks, FewRowsAndLongRowsGetStringsOfTheirOwn) {
    TvdrRowBlocks few(10);
    EXPECT_FALSE(few.Shared());
    const QString row = few.Make(u"0000001\t0000002\t0000003");
    EXPECT_EQ(row, QStringLiteral("0000001\t0000002\t0000003"));
    EXPECT_FALSE(row.data_ptr()->isShared());

    TvdrRowBlocks many(1000);
    const QString longText(20000, QLatin1Char('n'));
    const QString longRow = many.Make({u"key=", longText});
    EXPECT_EQ(longRow, QStringLiteral("key=") + longText);
    EXPECT_FALSE(longRow.data_ptr()->isShared()) << "a block is not started for one long row";
    EXPECT_EQ(many.Make(QString()), QString());
}
