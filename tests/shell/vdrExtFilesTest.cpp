#include "vdrExtFiles.h"
#include "vdrDrive.h"
#include "vdrProgramFolder.h"
#include "vdrTestSupport.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <gtest/gtest.h>

namespace {

class ExtFilesTest : public ::testing::Test {
protected:
    TvdrTempFolder temp;
    QString disk = temp.File(QStringLiteral("usb"));
    QString program = disk + QStringLiteral("/Vandor");

    void SetUp() override {
        QDir().mkpath(program);
        SetMountPoints({QStringLiteral("/"), QStringLiteral("/proc"), disk});
        SetProgramFolder(program);
        SetProgramName(QStringLiteral("Vandor"));
    }
    void TearDown() override {
        SetMountPoints({});
        SetProgramFolder(QString());
        SetProgramName(QString());
    }
};

} // namespace

TEST_F(ExtFilesTest, FoldersAreStoredRelativeToTheProgramAndItsDrive) {
    TvdrExtFiles &ext = ExtFiles();
    EXPECT_EQ(ext.EncodeFolder(program), QStringLiteral("{AppPath}/"));
    EXPECT_EQ(ext.EncodeFolder(program + QStringLiteral("/")), QStringLiteral("{AppPath}/"));
    // A folder below the program's is stored by drive, not by program folder.
    EXPECT_EQ(ext.EncodeFolder(program + QStringLiteral("/db")), QStringLiteral("{AppDrive}/Vandor/db/"));
    EXPECT_EQ(ext.EncodeFolder(disk + QStringLiteral("/data")), QStringLiteral("{AppDrive}/data/"));
    // Another file system keeps its full path; only a leading drive counts.
    EXPECT_EQ(ext.EncodeFolder(QStringLiteral("/home/owner") + disk),
              QStringLiteral("/home/owner") + disk + QStringLiteral("/"));
    // Folders differ by case on this system.
    EXPECT_EQ(ext.EncodeFolder(disk + QStringLiteral("/vandor")), QStringLiteral("{AppDrive}/vandor/"));

    for (const QString &folder : {program, program + QStringLiteral("/db"), disk + QStringLiteral("/data"),
                                  QStringLiteral("/home/owner/cars")})
        EXPECT_EQ(ext.DecodeFolder(ext.EncodeFolder(folder) + QStringLiteral("Vandor.dat")), folder);
    EXPECT_EQ(ext.DecodeFolder(QStringLiteral("{apppath}/Vandor.dat")), program);
}

TEST_F(ExtFilesTest, TheDatabaseIsFoundAfterTheDiskIsMountedElsewhere) {
    TvdrExtFiles &ext = ExtFiles();
    ext.SetDBFolder(disk + QStringLiteral("/data"));
    ext.SetLogFolder(program);
    EXPECT_EQ(
        QSettings(ext.IniFileName(), QSettings::IniFormat).value(QStringLiteral("Files/DBPath")).toString(),
        QStringLiteral("{AppDrive}/data/Vandor.dat"));

    // Copy the program folder's .ini to the same place on a disk mounted at
    // another point.
    const QString other = temp.File(QStringLiteral("mnt/elsewhere"));
    QDir().mkpath(other + QStringLiteral("/Vandor"));
    QFile::copy(ext.IniFileName(), other + QStringLiteral("/Vandor/Vandor.ini"));
    SetMountPoints({QStringLiteral("/"), other});
    SetProgramFolder(other + QStringLiteral("/Vandor"));
    EXPECT_EQ(ext.DBFileName(), other + QStringLiteral("/data/Vandor.dat"));
    EXPECT_EQ(ext.LogFileName(), other + QStringLiteral("/Vandor/vdrLog.txt"));
}

TEST_F(ExtFilesTest, MissingAndBlankEntries) {
    TvdrExtFiles &ext = ExtFiles();
    QFile::remove(ext.IniFileName());
    EXPECT_TRUE(ext.NoDBPath());
    EXPECT_EQ(ext.LogFolder(), program);
    EXPECT_EQ(ext.InitialTreeState(), QStringLiteral("FullExpansion"));
    EXPECT_FALSE(ext.ExpandCarsOnly());

    ext.SetDBFolder(program);
    EXPECT_FALSE(ext.NoDBPath());
    EXPECT_EQ(ext.DBFileName(), program + QStringLiteral("/Vandor.dat"));
    ext.ClearDBPath();
    EXPECT_TRUE(ext.NoDBPath());
    {
        QSettings ini(ext.IniFileName(), QSettings::IniFormat);
        ini.setValue(QStringLiteral("Files/DBPath"), QStringLiteral("   "));
        ini.setValue(QStringLiteral("Options/InitialTreeState"), QStringLiteral("expandcarsonly"));
    }
    EXPECT_TRUE(ext.NoDBPath()) << "blanks count as missing";
    EXPECT_TRUE(ext.ExpandCarsOnly());
}

TEST(Drive, IsTheLongestMountPointHoldingThePath) {
    SetMountPoints({QStringLiteral("/"), QStringLiteral("/media"), QStringLiteral("/media/usb"),
                    QStringLiteral("/media/usb2")});
    EXPECT_EQ(DriveOf(QStringLiteral("/media/usb/cars/Vandor.dat")), QStringLiteral("/media/usb"));
    EXPECT_EQ(DriveOf(QStringLiteral("/media/usb2")), QStringLiteral("/media/usb2"));
    EXPECT_EQ(DriveOf(QStringLiteral("/media/usbstick/x")), QStringLiteral("/media"));
    EXPECT_EQ(DriveOf(QStringLiteral("/home/owner")), QString()) << "the root file system has no drive";
    SetMountPoints({});
    EXPECT_TRUE(MountPoints().contains(QStringLiteral("/")));
}

TEST_F(ExtFilesTest, AnInstalledProgramKeepsItsSettingsInTheUsersFolders) {
    const QString config = temp.File(QStringLiteral("home/.config/Vandor"));
    const QString data = temp.File(QStringLiteral("home/.local/share/Vandor"));
    SetUserConfigFolder(config);
    SetUserDataFolder(data);
    SetProgramFolderWritable(0);
    ExtFiles().SetDBFolder(data);
    EXPECT_EQ(ExtFiles().IniFileName(), config + QStringLiteral("/Vandor.ini"));
    EXPECT_TRUE(QFile::exists(config + QStringLiteral("/Vandor.ini"))) << "the folder is made for it";
    EXPECT_FALSE(QFile::exists(program + QStringLiteral("/Vandor.ini")));
    EXPECT_EQ(ExtFiles().DBFolder(), data);
    EXPECT_EQ(DefaultDataFolder(), data);

    SetProgramFolderWritable(1);
    EXPECT_EQ(ExtFiles().IniFileName(), program + QStringLiteral("/Vandor.ini"));
    EXPECT_TRUE(ExtFiles().NoDBPath()) << "a portable program reads the .ini beside it";
    EXPECT_EQ(DefaultDataFolder(), program);
    SetProgramFolderWritable(-1);
    SetUserConfigFolder(QString());
    SetUserDataFolder(QString());
}

TEST_F(ExtFilesTest, TheVersionCheckAddressIsReadTrimmedAndEmptyByDefault) {
    EXPECT_EQ(ExtFiles().VersionCheckURL(), QString());
    QSettings(ExtFiles().IniFileName(), QSettings::IniFormat)
        .setValue(QStringLiteral("Internet/VersionCheckURL"),
                  QStringLiteral("  http://example.test/check  "));
    EXPECT_EQ(ExtFiles().VersionCheckURL(), QStringLiteral("http://example.test/check"));
}
