#include "kvxVersInfo.h"

#include "vdrBuildInfo.h"
#include "vdrError.h"
#include "vdrFormatSettings.h"
#include "vdrTestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>

#include <gtest/gtest.h>

// VersInfo() lives for the whole process, and nothing sets its file back:
// the case that needs it untouched comes first, and each case names the
// file it describes before it looks.
TEST(VersInfo, StringValueBeforeAnyFileRaisesNoFileSpecified) {
    if (!VersInfo().FileName().isEmpty())
        GTEST_SKIP() << "an earlier case of this process named a file already";
    EXPECT_EQ(ErrorMessageOf([] { VersInfo().StringValue(QStringLiteral("ProductName")); }),
              "No file specified");
}

TEST(VersInfo, TheProgramFileGivesTheBuildsStringsAndItsOwnDateAndSize) {
    TvdrFormatSettings::SetCurrent(TvdrFormatSettings::PointLocale());
    TkvxVersInfo &vers = VersInfo();
    const QString program = TkvxVersInfo::ProgramFile();
    ASSERT_TRUE(QFileInfo(program).isFile());
    vers.SetFileName(program);
    EXPECT_EQ(vers.FileName(), program);
    EXPECT_EQ(vers.StringValue(QStringLiteral("ProductName")), QStringLiteral(VANDOR_PRODUCT_NAME));
    EXPECT_EQ(vers.StringValue(QStringLiteral("LegalCopyright")), QString::fromUtf8(VANDOR_LEGAL_COPYRIGHT));
    const QStringList version = vers.StringValue(QStringLiteral("FileVersion")).split(QLatin1Char('.'));
    ASSERT_EQ(version.size(), 4);
    for (const QString &number : version) {
        bool isNumber = false;
        number.toUInt(&isNumber);
        EXPECT_TRUE(isNumber) << "FileVersion part \"" << number.toStdString() << "\"";
    }
    EXPECT_EQ(vers.StringValue(QStringLiteral("CompanyName")), QString());

    const QFileInfo file(program);
    EXPECT_EQ(vers.FileDateText(), QLocale::system().toString(file.lastModified(), "yyyy-MMM-dd hh:mm:ss"));
    EXPECT_EQ(vers.FileSizeText(), TvdrFormatSettings::PointLocale().Grouped(file.size()));
    EXPECT_TRUE(vers.FileSizeText().contains(QLatin1Char(','))) << "a program has thousands of bytes";
}

TEST(VersInfo, OtherFilesHaveNoVersionAndMissingOnesNoDateOrSize) {
    TvdrFormatSettings::SetCurrent(TvdrFormatSettings::PointLocale());
    TvdrTempFolder folder;
    const QString other = folder.File(QStringLiteral("other.exe"));
    WriteWholeFile(other, QByteArray(1234, 'x'));
    TkvxVersInfo &vers = VersInfo();

    // The message names the file without its folder; date and size are
    // still the file's.
    EXPECT_EQ(ErrorMessageOf([&] { vers.SetFileName(other); }), "File other.exe has no version information");
    EXPECT_EQ(vers.StringValue(QStringLiteral("ProductName")), QString());
    EXPECT_EQ(vers.FileSizeText(), QStringLiteral("1,234"));
    EXPECT_NE(vers.FileDateText(), QStringLiteral("DATE UNKNOWN"));

    EXPECT_EQ(ErrorMessageOf([&] { vers.SetFileName(folder.File(QStringLiteral("gone/missing.exe"))); }),
              "File missing.exe not found or not accessible");
    EXPECT_EQ(vers.FileDateText(), QStringLiteral("DATE UNKNOWN"));
    EXPECT_EQ(vers.FileSizeText(), QStringLiteral("0"));
    EXPECT_EQ(vers.StringValue(QStringLiteral("FileVersion")), QString());

    // Naming the program again brings its strings back.
    vers.SetFileName(TkvxVersInfo::ProgramFile());
    EXPECT_EQ(vers.StringValue(QStringLiteral("ProductName")), QStringLiteral(VANDOR_PRODUCT_NAME));
}

TEST(VersInfo, FindOnPathLooksThroughEveryFolderOfPath) {
    TvdrTempFolder first;
    TvdrTempFolder second;
    WriteWholeFile(second.File(QStringLiteral("tool")), "x");
    QDir().mkdir(first.File(QStringLiteral("folder")));
    const QByteArray path = qgetenv("PATH");
    qputenv("PATH", QFile::encodeName(first.Path() + QStringLiteral("::") + second.Path()));
    EXPECT_EQ(TkvxVersInfo::FindOnPath(QStringLiteral("tool")), second.File(QStringLiteral("tool")));
    EXPECT_EQ(TkvxVersInfo::FindOnPath(QStringLiteral("folder")), QString()) << "a folder is not a file";
    EXPECT_EQ(TkvxVersInfo::FindOnPath(QStringLiteral("absent")), QString());
    qputenv("PATH", path);
}
