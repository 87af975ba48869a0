#include "vdrPicture.h"
#include "kvxStreamFile.h"
#include "vdrStreamDamage.h"
#include "vdrTestDatabase.h"
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

TEST(Picture, ADamagedStreamIsKeptAsideOnceUnlessReadOnly) {
    TvdrStorageLogCapture log;
    TvdrTempFolder folder;
    const QString file = folder.File(QStringLiteral("Vandor.dat"));
    {
        TkvxStreamFile db;
        db.Open(file, false);
        db.WriteStream(TvdrPicture::StreamIdOf(7), 0, QByteArray(500, 'x') + QByteArray(300, 'y'));
    }
    const QByteArray damaged = DamageBlock(file, TvdrPicture::StreamIdOf(7));
    const QByteArray before = ReadWholeFile(file);

    // Read-only: reported, nothing written.
    {
        TkvxStreamFile db;
        db.Open(file, true);
        TvdrPicture picture(7);
        picture.SetStreamFile(&db);
        picture.Load();
        EXPECT_TRUE(picture.data().isEmpty());
        EXPECT_TRUE(picture.LoadProblem().endsWith(QStringLiteral("so its bytes are not kept")));
    }
    EXPECT_EQ(ReadWholeFile(file), before);

    TkvxStreamFile db;
    db.Open(file, false);
    TvdrPicture picture(7);
    picture.SetStreamFile(&db);
    picture.write("stale");
    picture.Load();
    EXPECT_TRUE(picture.data().isEmpty());
    EXPECT_EQ(db.RawBlock(QStringLiteral("CarPic000000007.damaged")), damaged);
    EXPECT_EQ(log.Lines.last(),
              QStringLiteral("stream CarPic000000007 is damaged (damaged block: zlib error -3 (invalid "
                             "code lengths set)); its bytes are kept as CarPic000000007.damaged"));
    EXPECT_EQ(picture.LoadProblem(), log.Lines.last());
    ASSERT_EQ(DamagedStreams().size(), 1) << "one entry per stream, however often it was loaded";
    EXPECT_EQ(DamagedStreams()[0].KeptAs, QStringLiteral("CarPic000000007.damaged"));

    const int streams = db.Toc().Count();
    TvdrPicture shownAgain(7);
    shownAgain.SetStreamFile(&db);
    shownAgain.Load();
    EXPECT_EQ(db.Toc().Count(), streams);

    // A new picture replaces the damaged stream; the copy stays.
    shownAgain.write("BM new");
    shownAgain.Save();
    EXPECT_EQ(db.RawBlock(QStringLiteral("CarPic000000007.damaged")), damaged);
}
