#include "vdrMoveFile.h"
#include "vdrTestSupport.h"

#include <QFileInfo>
#include <gtest/gtest.h>

TEST(MoveFile, MovesIntoANewFolderButNeverOverAnExistingFile) {
    TvdrTempFolder folder;
    const QString source = folder.File(QStringLiteral("Vandor.dat"));
    WriteWholeFile(source, "database");
    const QString target = folder.File(QStringLiteral("new/deeper/Vandor.dat"));
    EXPECT_EQ(MoveFileNoReplace(source, target), QString());
    EXPECT_FALSE(QFileInfo::exists(source));
    EXPECT_EQ(ReadWholeFile(target), QByteArray("database"));

    WriteWholeFile(source, "another");
    EXPECT_EQ(MoveFileNoReplace(source, target), QStringLiteral("[17]-File exists"));
    EXPECT_EQ(ReadWholeFile(source), QByteArray("another")) << "a failed move leaves the file where it was";
    EXPECT_EQ(ReadWholeFile(target), QByteArray("database"));

    EXPECT_TRUE(MoveFileNoReplace(folder.File(QStringLiteral("missing")), folder.File(QStringLiteral("x")))
                    .startsWith(QStringLiteral("[2]-")));
}
