#include "vdrRowBlocks.h"

#include <cstring>

QString TvdrRowBlocks::ShareOf(QString::DataPointer &block, qsizetype offset, qsizetype length) {
    block.d_ptr()->ref();
    return QString(QString::DataPointer(block.d_ptr(), block.data() + offset, length));
}

QString TvdrRowBlocks::Make(std::initializer_list<QStringView> parts) {
    qsizetype size = 0;
    for (const QStringView part : parts)
        size += part.size();
    if (!m_shared || size > kBlockChars / 4) {
        QString own;
        own.reserve(size);
        for (const QStringView part : parts)
            own.append(part);
        return own;
    }
    if (!m_block.d_ptr() || m_used + size + 1 > kBlockChars) {
        QString fresh(kBlockChars, Qt::Uninitialized);
        m_block = std::move(fresh.data_ptr());
        m_used = 0;
    }
    // Written where no row points yet: the rows made so far never see it.
    char16_t *at = m_block.data() + m_used;
    for (const QStringView part : parts) {
        if (part.isEmpty())
            continue; // a null part has no characters to point at
        std::memcpy(at, part.utf16(), size_t(part.size()) * sizeof(char16_t));
        at += part.size();
    }
    *at = u'\0';
    QString made = ShareOf(m_block, m_used, size);
    m_used += size + 1;
    return made;
}
