#include "kvxCmRtn.h"

#include "vdrCmRtn.h"
#include "vdrSingleton.h"

TkvxCmRtn::TkvxCmRtn() {
    TvdrSingleton<TkvxCmRtn>::CheckCreation("CmRtn");
}

TkvxCmRtn &KvxCmRtn() {
    return TvdrSingleton<TkvxCmRtn>::Instance();
}

QString TkvxCmRtn::UnescapeText(const QString &text) {
    return TvdrCmRtn::UnescapeText(text);
}
