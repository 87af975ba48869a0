#include "vdrExportWriter.h"

#include "vdrCodePage.h"
#include "vdrError.h"

#include <QIODevice>

TvdrExportWriter::TvdrExportWriter(QIODevice &device, const QString &name)
    : m_device(device), m_name(name), m_buffer(kSize, Qt::Uninitialized), m_data(m_buffer.data()) {}

void TvdrExportWriter::AppendLong(const char *bytes, qsizetype length) {
    while (length > 0) {
        if (m_used == kSize)
            Drain();
        const qsizetype n = std::min(length, kSize - m_used);
        std::memcpy(m_data + m_used, bytes, size_t(n));
        m_used += n;
        bytes += n;
        length -= n;
    }
}

void TvdrExportWriter::AppendUtf8(QStringView text) {
    const QChar *p = text.data();
    const QChar *end = p + text.size();
    while (p < end) {
        const char16_t u = p->unicode();
        if (u < 0x80) {
            Append(char(u));
            ++p;
        } else if (u < 0x800) {
            Append(char(0xC0 | (u >> 6)));
            Append(char(0x80 | (u & 0x3F)));
            ++p;
        } else if (!QChar::isSurrogate(u)) {
            Append(char(0xE0 | (u >> 12)));
            Append(char(0x80 | ((u >> 6) & 0x3F)));
            Append(char(0x80 | (u & 0x3F)));
            ++p;
        } else {
            // Pairs and stray halves as Qt encodes them.
            const bool pair = QChar::isHighSurrogate(u) && p + 1 < end && p[1].isLowSurrogate();
            const QByteArray bytes = QStringView(p, pair ? 2 : 1).toUtf8();
            Append(bytes.constData(), bytes.size());
            p += pair ? 2 : 1;
        }
    }
}

void TvdrExportWriter::AppendCodePage(QStringView text) {
    qsizetype i = 0;
    while (i < text.size()) {
        if (text[i].unicode() < 0x80) {
            Append(char(text[i++].unicode()));
            continue;
        }
        // A run of other characters goes through the code page whole, so a
        // surrogate pair stays one character.
        qsizetype end = i;
        while (end < text.size() && text[end].unicode() >= 0x80)
            ++end;
        const QByteArray bytes = vdrCodePage::FromUnicode(QString::fromRawData(text.data() + i, end - i));
        Append(bytes.constData(), bytes.size());
        i = end;
    }
}

void TvdrExportWriter::Drain() {
    if (m_used > 0 && m_device.write(m_buffer.constData(), m_used) != m_used)
        throw EvdrError(QStringLiteral("cannot write %1: %2").arg(m_name, m_device.errorString()));
    m_used = 0;
}

void TvdrExportWriter::Flush() {
    Drain();
}
