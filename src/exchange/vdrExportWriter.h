#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <charconv>
#include <cstdint>
#include <cstring>

class QIODevice;

// Bytes on their way to a device, gathered in a buffer of fixed size and
// written out whenever it fills: an export of any size holds no more than
// this buffer. Text is encoded as it is appended. `device` must stay open
// while the writer is in use; nothing is written after a failure.
class TvdrExportWriter {
public:
    // `name` names the output in errors.
    TvdrExportWriter(QIODevice &device, const QString &name);

    void Append(char ch) {
        if (m_used == kSize)
            Drain();
        m_data[m_used++] = ch;
    }
    void Append(const char *bytes, qsizetype length) {
        if (length <= 16 && kSize - m_used >= 16) {
            CopySmall(m_data + m_used, bytes, length);
            m_used += length;
        } else if (length <= kSize - m_used) {
            std::memcpy(m_data + m_used, bytes, size_t(length));
            m_used += length;
        } else {
            AppendLong(bytes, length);
        }
    }
    void Append(const QByteArray &bytes) { Append(bytes.constData(), bytes.size()); }
    void AppendNumber(qint64 number) {
        if (kSize - m_used < 20)
            Drain();
        char *at = m_data + m_used;
        m_used += std::to_chars(at, at + 20, number).ptr - at;
    }
    void AppendUtf8(QStringView text);
    // Code page 1252; what it cannot hold becomes "?".
    void AppendCodePage(QStringView text);

    // Writes what is left; raises "cannot write <name>: <the device's
    // error>" when the device fails, as every write here does.
    void Flush();

private:
    static constexpr qsizetype kSize = 64 * 1024;

    void Drain();
    void AppendLong(const char *bytes, qsizetype length);
    // Up to sixteen bytes, as two copies of a fixed size that may overlap:
    // most values are a few bytes, and a call to memcpy costs more than
    // copying them.
    static void CopySmall(char *to, const char *from, qsizetype length) {
        if (length >= 8) {
            std::uint64_t head, tail;
            std::memcpy(&head, from, 8);
            std::memcpy(&tail, from + length - 8, 8);
            std::memcpy(to, &head, 8);
            std::memcpy(to + length - 8, &tail, 8);
        } else if (length >= 4) {
            std::uint32_t head, tail;
            std::memcpy(&head, from, 4);
            std::memcpy(&tail, from + length - 4, 4);
            std::memcpy(to, &head, 4);
            std::memcpy(to + length - 4, &tail, 4);
        } else if (length > 0) {
            to[0] = from[0];
            to[length / 2] = from[length / 2];
            to[length - 1] = from[length - 1];
        }
    }

    QIODevice &m_device;
    QString m_name;
    QByteArray m_buffer;
    // The buffer's bytes, held apart so that an append does not ask the
    // array each time whether it is shared.
    char *m_data;
    qsizetype m_used = 0;
};
