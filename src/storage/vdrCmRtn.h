#pragma once

#include <QChar>
#include <QString>

#include "vdrTextEscape.h"

// The common routines of the program, one instance reached through CmRtn().
// The routines that shape stored rows need no instance and are static; the
// instance holds what it learns about the operating system at construction.
// The message boxes, placement and dialogs belong to the GUI layer.
class TvdrCmRtn {
public:
    // Only CmRtn() may construct; any other construction raises
    // "use CmRtn accessor function".
    TvdrCmRtn();

    // The key format: at least 7 digits, zero-padded, a minus sign in front
    // of a negative number's digits.
    static QString FormatKey(int n);
    // FormatKey(n) appended to `text`, without a string of its own: rows
    // that are built of several keys take one allocation.
    static void AppendKey(QString &text, int n);
    // FormatKey(n) written at `key`, as ASCII; returns its length.
    static constexpr qsizetype kKeyBytes = 16;
    static qsizetype FormatKey(int n, char (&key)[kKeyBytes]);
    // Whether `text` is FormatKey of a number (of 0 or more unless
    // `negative`): look-ups build keys that way, so no other spelling of a
    // number ("12", "+0000012") is ever found.
    static bool IsKey(const QString &text, bool negative = false);

    // Every single delimiter separates two fields, so empty fields count.
    static int FieldCount(const QString &text, QChar delimiter);
    // Field `n` counted from 1; empty for 0 or a number past the last field.
    static QString GetField(int n, const QString &text, QChar delimiter);

    // The escaping of free text, under the names the design gives it here;
    // the rule lives in TvdrTextEscape.
    static QString EscapeText(const QString &text) { return TvdrTextEscape::EscapeText(text); }
    static QString UnescapeText(const QString &text) { return TvdrTextEscape::UnescapeText(text); }

    template <class T> static T Choose(bool condition, const T &a, const T &b) { return condition ? a : b; }
    // For mixed or literal arguments, which the template cannot take.
    static QString Choose(bool condition, const QString &a, const QString &b) { return condition ? a : b; }

    // 0 here: none of the platforms of the table is present.
    int OsType() const { return m_osType; }
    QString OsName() const { return OsName(m_osType); }
    static QString OsName(int osType);
    QString GetServicePack() const { return m_servicePack; }

    // "[code]-message" of the last failed system call (errno).
    static QString LastErrorText();
    static QString ErrorText(int code);

private:
    int m_osType = 0;
    QString m_servicePack;
};

TvdrCmRtn &CmRtn();
