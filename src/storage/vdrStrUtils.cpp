#include "vdrStrUtils.h"

namespace {

inline bool IsTrimmed(QChar ch) { return ch.unicode() <= 32; }

} // namespace

QString Trim(const QString &text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && IsTrimmed(text[first]))
        ++first;
    while (last > first && IsTrimmed(text[last - 1]))
        --last;
    if (first == 0 && last == text.size())
        return text;
    return text.mid(first, last - first);
}

QString FilterChars(const QString &text, const QString &chars) {
    QString out;
    out.reserve(text.size());
    for (QChar ch : text)
        if (!chars.contains(ch))
            out.append(ch);
    return out;
}

bool CharInSet(const QString &chars, QChar ch) { return chars.contains(ch); }

int CountChar(const QString &text, QChar ch) { return int(text.count(ch)); }

int WordPosition(int n, const QString &text, const QString &delimiters) {
    if (n < 1)
        return 0;
    int found = 0;
    const qsizetype size = text.size();
    qsizetype i = 0;
    while (i < size) {
        while (i < size && delimiters.contains(text[i]))
            ++i;
        if (i >= size)
            break;
        if (++found == n)
            return int(i) + 1;
        while (i < size && !delimiters.contains(text[i]))
            ++i;
    }
    return 0;
}

QString ExtractWord(int n, const QString &text, const QString &delimiters) {
    const int start = WordPosition(n, text, delimiters);
    if (start == 0)
        return QString();
    qsizetype end = start - 1;
    while (end < text.size() && !delimiters.contains(text[end]))
        ++end;
    return text.mid(start - 1, end - (start - 1));
}

QString GroupThousands(qint64 number, const QString &separator) {
    // Through the unsigned magnitude, so the smallest qint64 has a magnitude.
    const quint64 magnitude = number < 0 ? 0 - quint64(number) : quint64(number);
    const QString digits = QString::number(magnitude);
    QString out;
    out.reserve(digits.size() + (digits.size() / 3) * separator.size() + 1);
    if (number < 0)
        out.append(QLatin1Char('-'));
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out.append(separator);
        out.append(digits[i]);
    }
    return out;
}

QString GroupThousandsComma(qint64 number) { return GroupThousands(number, QStringLiteral(",")); }

QString SingleLine(const QString &text) {
    QString out = text;
    for (QChar &ch : out)
        if (ch == QLatin1Char('\t') || ch == QLatin1Char('\r') || ch == QLatin1Char('\n') || ch.unicode() == 0)
            ch = QLatin1Char(' ');
    return out;
}
