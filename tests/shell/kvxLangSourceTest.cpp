#include "kvxLangSource.h"

#include "vdrCompareText.h"
#include "vdrError.h"
#include "vdrTestSupport.h"

#include <QRegularExpression>

#include <gtest/gtest.h>
#include <map>

namespace {

QString ErrorOf(const QString &source) {
    try {
        CompileLangSource(source);
    } catch (const EvdrError &e) {
        return e.Message();
    }
    return QString();
}

QString SourceFile(const char *relative) {
    return QStringLiteral(VANDOR_SOURCE_DIR "/") + QLatin1String(relative);
}

// Key -> escaped text of compiled rows "Key=N<TAB>Text".
std::map<QString, QString, TvdrTextLess> TextsByKey(const QStringList &rows) {
    std::map<QString, QString, TvdrTextLess> texts;
    for (const QString &row : rows) {
        const qsizetype eq = row.indexOf(QLatin1Char('='));
        const qsizetype tab = row.indexOf(QLatin1Char('\t'), eq);
        texts[row.left(eq)] = row.mid(tab + 1);
    }
    return texts;
}

// The printf conversions a text expects, in order: "dss" for "%d %s %s".
QString Directives(const QString &text) {
    static const QRegularExpression directive(QStringLiteral("%[-0]*\\d*(?:\\.\\d+)?([a-zA-Z%])"));
    QString kinds;
    for (auto it = directive.globalMatch(text); it.hasNext();) {
        const QString kind = it.next().captured(1);
        if (kind != QLatin1String("%"))
            kinds += kind;
    }
    return kinds;
}

// The lines of an escaped text (the shipped texts hold no "\\").
QStringList LinesOf(const QString &escaped) {
    return escaped.split(QStringLiteral("\\n"));
}

} // namespace

TEST(LangSource, RowsAreNumberedInSourceOrderAndSortedByKey) {
    const QString source = QStringLiteral("\uFEFF# texts\r\n"
                                          "\r\n"
                                          "Zeta=Last\r\n"
                                          "  alpha\t= one = two \n"
                                          "    # an indented comment\r"
                                          "Beta=Two lines\\nwith a \\t and a \\\\\n"
                                          "btnOK.Caption=&OK");
    const QStringList expected = {
        QStringLiteral("alpha=2\t one = two "),
        QStringLiteral("Beta=3\tTwo lines\\nwith a \\t and a \\\\"),
        QStringLiteral("btnOK.Caption=4\t&OK"),
        QStringLiteral("Zeta=1\tLast"),
    };
    EXPECT_EQ(CompileLangSource(source), expected);
    EXPECT_EQ(CompileLangSource(QStringLiteral("# nothing\n\n")), QStringList());
}

TEST(LangSource, BadLinesAreReportedWithTheirLineNumber) {
    struct Case {
        QString source;
        QString messageStart;
    };
    const Case cases[] = {
        {QStringLiteral("A=1\nno equals sign"), QStringLiteral("line 2: no \"=\"")},
        {QStringLiteral("A=1\n\n  =text"), QStringLiteral("line 3: empty key")},
        {QStringLiteral("A\tB=x"), QStringLiteral("line 1: the key \"A\tB\" holds a TAB")},
        {QStringLiteral("\u0416=x"), QStringLiteral("line 1: code page 1252 cannot hold the key")},
        {QStringLiteral("A=\nB=x"), QStringLiteral("line 1: empty text for \"A\"")},
        {QStringLiteral("#\nA=  \tx"), QStringLiteral("line 2: the text of \"A\" holds a TAB")},
        {QStringLiteral("A= "), QStringLiteral("line 1: empty text")},
        {QStringLiteral("A=x\ty"), QStringLiteral("line 1: the text of \"A\" holds a TAB")},
        {QStringLiteral("A=ok\nB=\u0416"),
         QStringLiteral("line 2: code page 1252 cannot hold the character U+0416")},
        {QStringLiteral("A=\U0001F600"),
         QStringLiteral("line 1: code page 1252 cannot hold the character U+1F600")},
        {QStringLiteral("A=C:\\path"), QStringLiteral("line 1: a backslash in the text of \"A\"")},
        {QStringLiteral("A=ends in\\"), QStringLiteral("line 1: a backslash in the text of \"A\"")},
    };
    for (const Case &c : cases) {
        const QString message = ErrorOf(c.source);
        EXPECT_TRUE(message.startsWith(c.messageStart))
            << message.toStdString() << " for " << c.source.toStdString();
    }
    // What 1252 holds is accepted, the euro sign and the C1 range included.
    EXPECT_EQ(ErrorOf(QStringLiteral("A=\u20AC 5 \u00E9t\u00E9 \u2013 \u0153")), QString());
}

TEST(LangSource, ARepeatedKeyNamesItsFirstDefinition) {
    EXPECT_EQ(ErrorOf(QStringLiteral("Key=1\n# x\nkey=2")),
              QStringLiteral("line 3: the key \"key\" is already defined on line 1"));
    EXPECT_EQ(ErrorOf(QStringLiteral("A=1\nA=2\nA=3")),
              QStringLiteral("line 2: the key \"A\" is already defined on line 1"));
    // With several repeats the earliest line is reported, whatever the keys.
    EXPECT_TRUE(
        ErrorOf(QStringLiteral("Z=1\nB=1\nZ=2\nB=2")).startsWith(QStringLiteral("line 3: the key \"Z\"")));
}

TEST(LangSource, TheShippedTextsCoverEveryKeyTheProgramAsksFor) {
    const QStringList rows =
        CompileLangSource(QString::fromUtf8(ReadWholeFile(SourceFile("lang/vdrLang.txt"))));
    const auto texts = TextsByKey(rows);

    const QStringList keys = QString::fromUtf8(ReadWholeFile(SourceFile("tests/shell/langKeys.txt")))
                                 .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_GE(keys.size(), 60);

    // The conversions each caller passes, in its order; every other key is
    // shown as it stands and so must not hold a "%" at all.
    const std::map<QString, QString> arguments = {
        {QStringLiteral("EM-FileNotOpen"), QStringLiteral("s")},
        {QStringLiteral("QM-VandorDatNotFound"), QStringLiteral("s")},
        {QStringLiteral("QM-DeleteCar"), QStringLiteral("dss")},
        {QStringLiteral("QM-ClearPicture"), QStringLiteral("s")},
        {QStringLiteral("frmMain.tbSortTree.Hint"), QStringLiteral("s")},
        {QStringLiteral("QM-DeleteMaint"), QStringLiteral("s")},
        {QStringLiteral("QM-Delete"), QStringLiteral("s")},
        {QStringLiteral("QM-DeleteSortOrder"), QStringLiteral("s")},
        {QStringLiteral("ReportDate"), QStringLiteral("s")},
        {QStringLiteral("ReportPage"), QStringLiteral("d")},
        {QStringLiteral("fraAbout.lblBuild.Caption"), QStringLiteral("s")},
        {QStringLiteral("fraAbout.lblFileDate.Caption"), QStringLiteral("s")},
        {QStringLiteral("fraAbout.lblFileSize.Caption"), QStringLiteral("s")},
    };
    for (const QString &key : keys) {
        const auto found = texts.find(key.trimmed());
        ASSERT_NE(found, texts.end()) << "no text for " << key.toStdString();
        const QString &text = found->second;
        EXPECT_FALSE(text.trimmed().isEmpty()) << key.toStdString();
        const auto args = arguments.find(key.trimmed());
        if (args != arguments.end()) {
            EXPECT_EQ(Directives(text), args->second) << key.toStdString();
        } else {
            EXPECT_FALSE(text.contains(QLatin1Char('%'))) << key.toStdString();
        }
    }

    // Direction 0 is ascending, anything else descending: exactly two choices.
    const QStringList directions = LinesOf(texts.at(QStringLiteral("SortOrderDirectionsList")));
    ASSERT_EQ(directions.size(), 2);
    EXPECT_FALSE(directions[0].trimmed().isEmpty());
    EXPECT_FALSE(directions[1].trimmed().isEmpty());
}

TEST(LangSource, TheShippedTextsFitWhereTheyAreShown) {
    const auto texts =
        TextsByKey(CompileLangSource(QString::fromUtf8(ReadWholeFile(SourceFile("lang/vdrLang.txt")))));
    for (const auto &[key, text] : texts) {
        // A stray blank after "=" or at the line's end would show on screen.
        EXPECT_EQ(text, text.trimmed()) << key.toStdString();
        EXPECT_FALSE(text.contains(QStringLiteral("\\\\"))) << key.toStdString();
        // Insert and Delete captions are also the toolbar hints, where an
        // accelerator's "&" would show.
        if (key.startsWith(QLatin1String("INS-")) || key.startsWith(QLatin1String("DEL-"))) {
            EXPECT_FALSE(text.contains(QLatin1Char('&'))) << key.toStdString();
        }
    }
    // Column 0 of the event list holds nothing and has no caption.
    const QStringList columns = LinesOf(texts.at(QStringLiteral("fraMaint.lvwMaint.Columns.Items")));
    ASSERT_EQ(columns.size(), 4);
    EXPECT_TRUE(columns[0].isEmpty());
}
