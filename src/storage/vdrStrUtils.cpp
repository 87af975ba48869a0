#include "vdrStrUtils.h"

#include "vdrCodePage.h"

#include <algorithm>

namespace {

inline bool IsTrimmed(QChar ch) {
    return ch.unicode() <= 32;
}

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

bool CharInSet(const QString &chars, QChar ch) {
    return chars.contains(ch);
}

int CountChar(const QString &text, QChar ch) {
    return int(text.count(ch));
}

namespace {

// Rows are cut on one delimiter nearly always; that case skips the set
// search for every character.
class TDelimiters {
public:
    explicit TDelimiters(const QString &set) : m_set(set), m_one(set.size() == 1 ? set[0] : QChar()) {}
    bool Contains(QChar ch) const { return m_set.size() == 1 ? ch == m_one : m_set.contains(ch); }

private:
    const QString &m_set;
    QChar m_one;
};

// [start, end) of word `n`; false when there is none.
bool FindWord(int n, const QString &text, const TDelimiters &delimiters, qsizetype &start, qsizetype &end) {
    if (n < 1)
        return false;
    int found = 0;
    const qsizetype size = text.size();
    const QChar *p = text.constData();
    qsizetype i = 0;
    while (i < size) {
        while (i < size && delimiters.Contains(p[i]))
            ++i;
        if (i >= size)
            break;
        start = i;
        while (i < size && !delimiters.Contains(p[i]))
            ++i;
        if (++found == n) {
            end = i;
            return true;
        }
    }
    return false;
}

} // namespace

int WordPosition(int n, const QString &text, const QString &delimiters) {
    qsizetype start = 0;
    qsizetype end = 0;
    return FindWord(n, text, TDelimiters(delimiters), start, end) ? int(start) + 1 : 0;
}

QString ExtractWord(int n, const QString &text, const QString &delimiters) {
    qsizetype start = 0;
    qsizetype end = 0;
    return FindWord(n, text, TDelimiters(delimiters), start, end) ? text.mid(start, end - start) : QString();
}

QByteArrayView ExtractTabWord(int n, QByteArrayView text) {
    qsizetype at = 0;
    for (int word = 1; at < text.size(); ++word) {
        while (at < text.size() && text[at] == '\t')
            ++at;
        if (at == text.size())
            break;
        qsizetype end = text.indexOf('\t', at);
        if (end < 0)
            end = text.size();
        if (word == n)
            return text.sliced(at, end - at);
        at = end;
    }
    return QByteArrayView();
}

bool ToInt(QByteArrayView text, int &number) {
    // Stored numbers are plain digits; anything else is read as text.
    if (!text.isEmpty() && text.size() <= 9 &&
        std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        number = 0;
        for (const char c : text)
            number = number * 10 + (c - '0');
        return true;
    }
    bool ok = false;
    const int value = vdrCodePage::ToUnicode(text).toInt(&ok, 10);
    if (ok)
        number = value;
    return ok;
}

QString GroupDigits(const QString &digits, const QString &separator) {
    QString out;
    out.reserve(digits.size() + (digits.size() / 3) * separator.size());
    for (qsizetype i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out.append(separator);
        out.append(digits[i]);
    }
    return out;
}

QString GroupThousands(qint64 number, const QString &separator) {
    // Through the unsigned magnitude, so the smallest qint64 has a magnitude.
    const quint64 magnitude = number < 0 ? 0 - quint64(number) : quint64(number);
    const QString grouped = GroupDigits(QString::number(magnitude), separator);
    return number < 0 ? QLatin1Char('-') + grouped : grouped;
}

QString GroupThousandsComma(qint64 number) {
    return GroupThousands(number, QStringLiteral(","));
}

QString SingleLine(const QString &text) {
    QString out = text;
    for (QChar &ch : out)
        if (ch == QLatin1Char('\t') || ch == QLatin1Char('\r') || ch == QLatin1Char('\n') ||
            ch.unicode() == 0)
            ch = QLatin1Char(' ');
    return out;
}
