#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <charconv>
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
        if (length <= kSize - m_used) {
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

    QIODevice &m_device;
    QString m_name;
    QByteArray m_buffer;
    // The buffer's bytes, held apart so that an append does not ask the
    // array each time whether it is shared.
    char *m_data;
    qsizetype m_used = 0;
};
