#include "kvxLangSource.h"

#include "kvxNvList.h"
#include "kvxStreamFile.h"
#include "vdrCodePage.h"
#include "vdrCompareText.h"
#include "vdrError.h"
#include "vdrStrUtils.h"
#include "vdrStringList.h"

#include <QFile>

#include <algorithm>
#include <vector>

namespace {

struct TEntry {
    QString key;
    QString text;
    int line;
};

[[noreturn]] void Fail(int line, const QString &what) {
    throw EvdrError(QStringLiteral("line %1: %2").arg(line).arg(what));
}

void CheckText(const TEntry &e) {
    const QString &t = e.text;
    for (qsizetype i = 0; i < t.size(); ++i) {
        const QChar c = t[i];
        if (c == QLatin1Char('\t'))
            Fail(e.line, QStringLiteral("the text of \"%1\" holds a TAB; write \\t").arg(e.key));
        if (!vdrCodePage::CanEncode(c)) {
            char32_t code = c.unicode();
            if (c.isHighSurrogate() && i + 1 < t.size() && t[i + 1].isLowSurrogate())
                code = QChar::surrogateToUcs4(c, t[i + 1]);
            Fail(e.line, QStringLiteral("code page 1252 cannot hold the character U+%1 in the text of \"%2\"")
                             .arg(QString::number(static_cast<uint>(code), 16)
                                      .toUpper()
                                      .rightJustified(4, QLatin1Char('0')),
                                  e.key));
        }
        if (c != QLatin1Char('\\'))
            continue;
        const QChar next = i + 1 < t.size() ? t[i + 1] : QChar();
        if (next != QLatin1Char('n') && next != QLatin1Char('t') && next != QLatin1Char('\\'))
            Fail(e.line,
                 QStringLiteral("a backslash in the text of \"%1\" starts no \\n, \\t or \\\\").arg(e.key));
        ++i;
    }
}

} // namespace

QStringList CompileLangSource(const QString &sourceText) {
    QString source = sourceText;
    if (source.startsWith(QChar(0xFEFF)))
        source.remove(0, 1);

    std::vector<TEntry> entries;
    const QStringList lines = TvdrStringList::SplitLines(source);
    for (int i = 0; i < lines.size(); ++i) {
        const QString &raw = lines[i];
        const int lineNbr = i + 1;
        const QString trimmed = raw.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(QLatin1Char('#')))
            continue;
        const qsizetype eq = raw.indexOf(QLatin1Char('='));
        if (eq < 0)
            Fail(lineNbr, QStringLiteral("no \"=\" between key and text"));
        TEntry e{Trim(raw.left(eq)), raw.mid(eq + 1), lineNbr};
        if (e.key.isEmpty())
            Fail(lineNbr, QStringLiteral("empty key"));
        if (e.key.contains(QLatin1Char('\t')))
            Fail(lineNbr, QStringLiteral("the key \"%1\" holds a TAB").arg(e.key));
        if (!vdrCodePage::CanEncode(e.key))
            Fail(lineNbr, QStringLiteral("code page 1252 cannot hold the key \"%1\"").arg(e.key));
        if (Trim(e.text).isEmpty())
            Fail(lineNbr, QStringLiteral("empty text for \"%1\"").arg(e.key));
        CheckText(e);
        entries.push_back(std::move(e));
    }

    // Number in source order, then sort; a stable sort puts a repeated key
    // right after its first definition.
    std::vector<int> order(entries.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = static_cast<int>(i);
    std::stable_sort(order.begin(), order.end(),
                     [&](int a, int b) { return CompareText(entries[a].key, entries[b].key) < 0; });

    // Of several repeated keys, report the one on the earliest line.
    const TEntry *repeat = nullptr;
    const TEntry *original = nullptr;
    for (size_t i = 1; i < order.size(); ++i) {
        const TEntry &prev = entries[order[i - 1]];
        const TEntry &e = entries[order[i]];
        if (CompareText(prev.key, e.key) == 0 && (!repeat || e.line < repeat->line)) {
            repeat = &e;
            // The first definition of the run, not merely the one before.
            original = &prev;
            for (size_t j = i - 1; j > 0 && CompareText(entries[order[j - 1]].key, e.key) == 0; --j)
                original = &entries[order[j - 1]];
        }
    }
    if (repeat)
        Fail(repeat->line, QStringLiteral("the key \"%1\" is already defined on line %2")
                               .arg(repeat->key)
                               .arg(original->line));

    QStringList rows;
    rows.reserve(static_cast<qsizetype>(entries.size()));
    for (int index : order) {
        const TEntry &e = entries[index];
        rows.append(e.key + QLatin1Char('=') + QString::number(index + 1) + QLatin1Char('\t') + e.text);
    }
    return rows;
}

void WriteLangFile(const QString &fileName, const QStringList &rows) {
    QFile::remove(fileName);
    TkvxStreamFile file;
    file.Open(fileName, false);
    TkvxNvList table(QStringLiteral("TkvxLang"));
    for (const QString &row : rows)
        table.Add(row);
    table.SetStreamFile(&file);
    table.Save();
    file.Close();
}
