#pragma once

#include <QString>

// The escaping of free text that a stored field holds (notes, the language
// file's texts): one line, no TAB, so the row and field model keeps it whole.
class TvdrTextEscape {
public:
    // CR dropped, "\" -> "\\", LF -> "\n", TAB -> "\t".
    static QString EscapeText(const QString &text);
    // The inverse, with CR LF line breaks, in one scan. A backslash that
    // starts none of the three escapes stays as it is.
    static QString UnescapeText(const QString &text);
};
