#pragma once

#include "kvxLangRec.h"
#include "kvxNvList.h"

#include <QVariantList>

// The language table: every text the user sees, by key, loaded from the
// language file beside the program. Read-only after loading; a key it lacks
// gives empty text.
class TkvxLang : public TkvxNvList {
public:
    TkvxLang();

    // The local text of `key` when it has one, else its base text; empty for
    // a missing key.
    QString GetText(const QString &key);
    // GetText(key) as a printf-style format ("%s", "%d") over `args`.
    QString FormatText(const QString &key, const QVariantList &args);

    // Replaces the table by the stream "TkvxLang" of the container file
    // `fileName`, opened read-only and closed again. Raises when the file
    // cannot be opened; a missing or damaged stream leaves the table empty.
    void LoadFromFile(const QString &fileName);

    QString Scope() const { return m_scope; }
    void SetScope(const QString &scope) { m_scope = scope; }

private:
    TkvxLangRec m_rec;
    QString m_scope;
};

TkvxLang &Lang();
