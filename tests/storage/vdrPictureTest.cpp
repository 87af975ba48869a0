#include "kvxStreamFile.h"
#include "vdrPicture.h"
#include "vdrTestSupport.h"

#include <gtest/gtest.h>

TEST(Picture, StreamIdsCarryTheCarNumberInNineDigits) {
    EXPECT_EQ(TvdrPicture(0).StreamId(), QStringLiteral("CarPic000000000"));
    EXPECT_EQ(TvdrPicture(12).StreamId(), QStringLiteral("CarPic000000012"));
    EXPECT_EQ(TvdrPicture(123456789).StreamId(), QStringLiteral("CarPic123456789"));
}

TEST(Picture, SavesLoadsReplacesAndDeletesItsStream) {
    TvdrTempFolder folder;
    TkvxStreamFile db;
    db.Open(folder.File(QStringLiteral("Vandor.dat")), false);
    const QByteArray jpeg("\xFF\xD8\xFF\xE0 not really a picture", 26);

    TvdrPicture unbound(3);
    unbound.write(jpeg);
    unbound.Save();
    unbound.Load();
    EXPECT_EQ(db.Toc().Count(), 0) << "an unbound picture touches nothing";

    TvdrPicture first(3);
    first.SetStreamFile(&db);
    first.write(jpeg);
    first.Save();
    TvdrPicture second(3);
    second.SetStreamFile(&db);
    second.write("BM replacement");
    second.Save();
    ASSERT_EQ(db.Toc().Count(), 2) << "one picture stream and the gap of the first";

    TvdrPicture shown(3);
    shown.SetStreamFile(&db);
    shown.Load();
    EXPECT_EQ(shown.pos(), 0);
    EXPECT_EQ(shown.data(), QByteArray("BM replacement"));

    shown.Delete();
    EXPECT_FALSE(db.Toc().Exists(QStringLiteral("CarPic000000003")));
    shown.Delete(); // no error when it is gone
    TvdrPicture missing(3);
    missing.SetStreamFile(&db);
    missing.Load();
    EXPECT_TRUE(missing.data().isEmpty());
}

TEST(Picture, ADamagedStreamLoadsEmpty) {
    TvdrTempFolder folder;
    const QString file = folder.File(QStringLiteral("Vandor.dat"));
    {
        TkvxStreamFile db;
        db.Open(file, false);
        db.WriteStream(TvdrPicture::StreamIdOf(1), 0, QByteArray(500, 'x'));
    }
    QByteArray bytes = ReadWholeFile(file);
    bytes[4] = '\x01'; // the block's length no longer matches its data
    WriteWholeFile(file, bytes);
    TkvxStreamFile db;
    db.Open(file, true);
    TvdrPicture picture(1);
    picture.SetStreamFile(&db);
    picture.write("stale");
    picture.Load();
    EXPECT_TRUE(picture.data().isEmpty());
}
