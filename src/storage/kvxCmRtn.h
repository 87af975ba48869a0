#pragma once

#include <QString>

// The support library's common routines: only what the language table needs.
// One instance, reached through KvxCmRtn(); any other construction raises
// "use CmRtn accessor function".
class TkvxCmRtn {
public:
    TkvxCmRtn();

    // The program's own UnescapeText.
    static QString UnescapeText(const QString &text);
};

TkvxCmRtn &KvxCmRtn();
