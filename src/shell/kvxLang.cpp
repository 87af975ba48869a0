#include "kvxLang.h"

#include "kvxStreamFile.h"
#include "vdrFormat.h"
#include "vdrSingleton.h"

TkvxLang::TkvxLang() : TkvxNvList(QStringLiteral("TkvxLang")) {
    TvdrSingleton<TkvxLang>::CheckCreation("Lang");
}

TkvxLang &Lang() {
    return TvdrSingleton<TkvxLang>::Instance();
}

QString TkvxLang::GetText(const QString &key) {
    TvdrWriteGuard guard(Lock());
    m_rec.SetKey(key);
    m_rec.Parse(GetValue(key));
    const QString local = m_rec.GetLocalText();
    return local.isEmpty() ? m_rec.GetBaseText() : local;
}

QString TkvxLang::FormatText(const QString &key, const QVariantList &args) {
    return FormatPrintf(GetText(key), args);
}

void TkvxLang::LoadFromFile(const QString &fileName) {
    TkvxStreamFile file;
    file.Open(fileName, true);
    SetStreamFile(&file);
    try {
        Load();
    } catch (...) {
        SetStreamFile(nullptr);
        throw;
    }
    SetStreamFile(nullptr);
    file.Close();
}
