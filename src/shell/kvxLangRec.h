#pragma once

#include "vdrLock.h"

#include <QString>

// One row of the language table taken apart: Number, BaseText, LocalText,
// the value's TAB-separated words (runs of TABs count as one, so an empty
// base text is skipped rather than counted).
class TkvxLangRec {
public:
    void SetKey(const QString &key);
    QString Key() const;
    void Parse(const QString &value);

    int Number() const;
    // Both unescaped: line breaks come back as CR LF.
    QString GetBaseText() const;
    QString GetLocalText() const;

private:
    mutable TvdrLock m_lock;
    QString m_key;
    int m_number = 0;
    QString m_baseText;  // as stored, escaped
    QString m_localText; // as stored, escaped
};
