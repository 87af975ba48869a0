#include "vdrOptions.h"
#include "kvxStreamFile.h"
#include "vdrError.h"
#include "vdrTestSupport.h"

#include <gtest/gtest.h>

TEST(Options, RowsTravelWithTheDatabaseAndDefaultsApplyToMissingKeys) {
    TvdrTempFolder folder;
    TkvxStreamFile db;
    db.Open(folder.File(QStringLiteral("Vandor.dat")), false);
    Options().Clear();
    Options().SetStreamFile(&db);
    Options().Load();
    Options().SetDefault(vdrOptionKeys::TreeWidthDefault);
    EXPECT_EQ(Options().Field(QLatin1String(vdrOptionKeys::TreeWidth)).AsInteger(), 202);
    Options().Field(QLatin1String(vdrOptionKeys::TreeWidth)).SetAsInteger(350);
    Options().Field(QLatin1String(vdrOptionKeys::MainWindow)).SetAsString(QStringLiteral("0 100 50 400 600"));
    Options().Field(QLatin1String(vdrOptionKeys::LogPath)).SetAsString(QString());
    Options().Save();

    Options().Clear();
    Options().Load();
    EXPECT_EQ(Options().Field(QLatin1String(vdrOptionKeys::TreeWidth)).AsInteger(), 350);
    EXPECT_EQ(Options().GetValue(QLatin1String(vdrOptionKeys::MainWindow)),
              QStringLiteral("0 100 50 400 600"));
    EXPECT_EQ(db.ReadStream(QStringLiteral("TvdrOptions")),
              QByteArray("TfrmMain=0 100 50 400 600\r\nTfrmMain.tvwMain.Width=350\r\n"));
    Options().SetStreamFile(nullptr);
    Options().Clear();
    EXPECT_THROW(TvdrOptions(), EvdrError);
}
