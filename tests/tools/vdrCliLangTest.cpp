#include "vdrCliTestRun.h"
#include "vdrTestSupport.h"

#include <QFile>
#include <gtest/gtest.h>
#include <sys/stat.h>

TEST(CliLang, BuildsALanguageFileAndReadsItsTexts) {
    TvdrTempFolder folder;
    const QString source = folder.File(QStringLiteral("lang.txt"));
    const QString out = folder.File(QStringLiteral("vdrLang.dat"));
    WriteWholeFile(source,
                   QStringLiteral("# comment\nZeta=last\nalpha=Two\\nlines\nQM-X=Delete %s?\n").toUtf8());
    // Every user of the program reads it, whatever the builder's umask.
    const mode_t mask = ::umask(0077);
    const int built = RunCli({QStringLiteral("lang-build"), source, out}).code;
    ::umask(mask);
    ASSERT_EQ(built, 0);
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(out).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0644u);
    EXPECT_EQ(RunCli({QStringLiteral("lang-text"), out, QStringLiteral("ALPHA")}).out, "Two\r\nlines\n");
    EXPECT_EQ(RunCli({QStringLiteral("lang-text"), out, QStringLiteral("Zeta")}).out, "last\n");
    const TvdrCliResult streams = RunCli({QStringLiteral("streams"), out});
    EXPECT_NE(streams.out.find("\tTkvxLang\n"), std::string::npos);
    EXPECT_EQ(RunCli({QStringLiteral("cat"), out, QStringLiteral("TkvxLang")}).out,
              "alpha=2\tTwo\\nlines\r\nQM-X=3\tDelete %s?\r\nZeta=1\tlast\r\n");

    // A broken source names its line and leaves the old file in place.
    WriteWholeFile(source, QByteArrayLiteral("A=1\nno equals sign\n"));
    const TvdrCliResult broken = RunCli({QStringLiteral("lang-build"), source, out});
    EXPECT_EQ(broken.code, 1);
    EXPECT_NE(broken.err.find("line 2"), std::string::npos) << broken.err;
    EXPECT_EQ(RunCli({QStringLiteral("lang-text"), out, QStringLiteral("Zeta")}).out, "last\n");
    EXPECT_FALSE(QFile::exists(out + QStringLiteral(".partial")));
    EXPECT_EQ(
        RunCli({QStringLiteral("lang-text"), folder.File(QStringLiteral("none")), QStringLiteral("A")}).code,
        1);
}
