#include "kvxLangRec.h"

#include "kvxCmRtn.h"
#include "vdrStrUtils.h"

namespace {
const QString kTab = QStringLiteral("\t");
}

void TkvxLangRec::SetKey(const QString &key) {
    TvdrWriteGuard guard(m_lock);
    m_key = Trim(key);
}

QString TkvxLangRec::Key() const {
    TvdrReadGuard guard(m_lock);
    return m_key;
}

void TkvxLangRec::Parse(const QString &value) {
    TvdrWriteGuard guard(m_lock);
    bool ok = false;
    m_number = ExtractWord(1, value, kTab).toInt(&ok);
    if (!ok)
        m_number = 0;
    m_baseText = ExtractWord(2, value, kTab);
    m_localText = ExtractWord(3, value, kTab);
}

int TkvxLangRec::Number() const {
    TvdrReadGuard guard(m_lock);
    return m_number;
}

QString TkvxLangRec::GetBaseText() const {
    TvdrReadGuard guard(m_lock);
    return KvxCmRtn().UnescapeText(m_baseText);
}

QString TkvxLangRec::GetLocalText() const {
    TvdrReadGuard guard(m_lock);
    return KvxCmRtn().UnescapeText(m_localText);
}
