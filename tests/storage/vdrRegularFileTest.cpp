#include "vdrRegularFile.h"
#include "vdrTestSupport.h"

#include <QFile>
#include <gtest/gtest.h>

#include <sys/stat.h>

TEST(RegularFile, WholeFilesUpToTheLimitAndNothingPastIt) {
    TvdrTempFolder folder;
    const QString what = QStringLiteral("a picture");
    for (const qsizetype size : {0, 1, 4095, 4096, 200001}) {
        QByteArray bytes(size, Qt::Uninitialized);
        for (qsizetype i = 0; i < size; ++i)
            bytes[i] = char(i * 7 + i / 251);
        const QString name = folder.File(QStringLiteral("f%1").arg(size));
        WriteWholeFile(name, bytes);
        EXPECT_EQ(vdrRegularFile::ReadAll(name, size, what), bytes) << size;
        EXPECT_EQ(vdrRegularFile::ReadAll(name, 1 << 24, what), bytes) << size;
        if (size > 0)
            EXPECT_EQ(ErrorMessageOf([&] { vdrRegularFile::ReadAll(name, size - 1, what); }),
                      QStringLiteral("%1 is %2 bytes, more than the %3 bytes a picture may have")
                          .arg(name)
                          .arg(size)
                          .arg(size - 1)
                          .toStdString());
    }
    const QString pipe = folder.File(QStringLiteral("pipe"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(pipe).constData(), 0600), 0);
    EXPECT_EQ(ErrorMessageOf([&] { vdrRegularFile::ReadAll(pipe, 10, what); }),
              QStringLiteral("%1 is not a regular file: pipes, devices and sockets are not read")
                  .arg(pipe)
                  .toStdString());
    EXPECT_EQ(ErrorMessageOf([&] { vdrRegularFile::ReadAll(folder.Path(), 10, what); }),
              QStringLiteral("%1 is a folder, not a file").arg(folder.Path()).toStdString());
}
