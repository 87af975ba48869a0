#include "kvxLang.h"
#include "kvxStreamFile.h"
#include "vdrCompareText.h"
#include "vdrError.h"
#include "vdrTestSupport.h"

#include <gtest/gtest.h>

namespace {

// Loads the given table text into the language table from a real file.
void LoadLanguage(const TvdrTempFolder &folder, const QByteArray &rows) {
    const QString file = folder.File(QStringLiteral("vdrLang.dat"));
    {
        TkvxStreamFile sf;
        sf.Open(file, false);
        sf.WriteStream(QStringLiteral("TkvxLang"), 0, rows);
    }
    Lang().LoadFromFile(file);
}

} // namespace

TEST(LanguageTable, LocalTextBeforeBaseTextAndEmptyFieldsSkipped) {
    TvdrTempFolder folder;
    LoadLanguage(folder, "btnCancel.Caption=2\tCancel\r\n"
                         "CP-MaintAdd=5\tAdd event\tNeues Ereignis\r\n"
                         "Lines.Strings=7\tone\\ntwo\r\n"
                         "QM-DeleteCar=9\t\tDelete %d %s %s?\r\n"
                         "ZZ-NoText=10\r\n");
    EXPECT_EQ(Lang().GetText(QStringLiteral("btnCancel.Caption")), QStringLiteral("Cancel"));
    EXPECT_EQ(Lang().GetText(QStringLiteral("cp-maintadd")), QStringLiteral("Neues Ereignis"));
    EXPECT_EQ(Lang().GetText(QStringLiteral("Lines.Strings")), QStringLiteral("one\r\ntwo"));
    // The empty base field is skipped, so the local text takes its place.
    EXPECT_EQ(Lang().FormatText(QStringLiteral("QM-DeleteCar"),
                                {2004, QStringLiteral("Ford"), QStringLiteral("Taurus")}),
              QStringLiteral("Delete 2004 Ford Taurus?"));
    EXPECT_EQ(Lang().GetText(QStringLiteral("ZZ-NoText")), QString());
    EXPECT_EQ(Lang().GetText(QStringLiteral("Missing")), QString());
    EXPECT_EQ(Lang().FormatText(QStringLiteral("Missing"), {1}), QString());
}

TEST(LanguageTable, AFileThatCannotBeOpenedRaisesAndAMissingStreamLoadsEmpty) {
    TvdrTempFolder folder;
    LoadLanguage(folder, "A=1\tx\r\n");
    EXPECT_THROW(Lang().LoadFromFile(folder.File(QStringLiteral("none.dat"))), EvdrError);
    {
        TkvxStreamFile sf;
        sf.Open(folder.File(QStringLiteral("other.dat")), false);
        sf.WriteStream(QStringLiteral("NotTheLanguage"), 0, QByteArray("A=1\tx\r\n"));
    }
    Lang().LoadFromFile(folder.File(QStringLiteral("other.dat")));
    EXPECT_EQ(Lang().Count(), 0);
    EXPECT_EQ(Lang().GetText(QStringLiteral("A")), QString());
    EXPECT_THROW(TkvxLang(), EvdrError);
}

TEST(LanguageTable, TheBuiltFileHasATextForEveryKeyTheProgramAsksFor) {
    Lang().LoadFromFile(QStringLiteral(VANDOR_BIN_DIR "/vdrLang.dat"));
    const QStringList keys =
        QString::fromUtf8(ReadWholeFile(QStringLiteral(VANDOR_SOURCE_DIR "/tests/shell/langKeys.txt")))
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_GT(keys.size(), 60);
    for (const QString &key : keys)
        EXPECT_FALSE(Lang().GetText(key.trimmed()).isEmpty()) << key.toStdString();
    // Rows are stored in the order the binary search expects.
    for (int i = 1; i < Lang().Count(); ++i)
        EXPECT_LT(CompareText(TvdrNvList::NameOf(Lang().Get(i - 1)), TvdrNvList::NameOf(Lang().Get(i))), 0);
    const QStringList directions =
        Lang().GetText(QStringLiteral("SortOrderDirectionsList")).split(QStringLiteral("\r\n"));
    EXPECT_EQ(directions.size(), 2);
}
