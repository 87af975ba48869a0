#include "vdrTextEscape.h"

QString TvdrTextEscape::EscapeText(const QString &text) {
    QString out = text;
    out.remove(QLatin1Char('\r'));
    out.replace(QLatin1String("\\"), QLatin1String("\\\\"));
    out.replace(QLatin1String("\n"), QLatin1String("\\n"));
    out.replace(QLatin1String("\t"), QLatin1String("\\t"));
    return out;
}

QString TvdrTextEscape::UnescapeText(const QString &text) {
    // One scan, not one replacement pass per escape: passes would read the
    // "\\" + "n" of an escaped backslash followed by an n as a line break.
    QString out;
    out.reserve(text.size() + text.size() / 8);
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        const QChar ch = text[i];
        if (ch == QLatin1Char('\r'))
            continue;
        if (ch == QLatin1Char('\n')) {
            out.append(QLatin1String("\r\n"));
            continue;
        }
        if (ch == QLatin1Char('\\') && i + 1 < size) {
            const QChar next = text[i + 1];
            if (next == QLatin1Char('n')) {
                out.append(QLatin1String("\r\n"));
                ++i;
                continue;
            }
            if (next == QLatin1Char('t')) {
                out.append(QLatin1Char('\t'));
                ++i;
                continue;
            }
            if (next == QLatin1Char('\\')) {
                out.append(QLatin1Char('\\'));
                ++i;
                continue;
            }
        }
        out.append(ch);
    }
    return out;
}
