#pragma once

#include <QByteArray>
#include <QIODevice>

// A sequential device (a pipe, a socket) that fails on purpose: reading
// gives `bytes` and then fails, writing takes `room` bytes and then fails,
// each with its own error text.
class TvdrFailingDevice : public QIODevice {
public:
    TvdrFailingDevice(const QByteArray &bytes, qint64 room) : m_bytes(bytes), m_room(room) {}

    bool isSequential() const override { return true; }
    QByteArray Written() const { return m_written; }

protected:
    qint64 readData(char *data, qint64 maxSize) override {
        if (m_read == m_bytes.size()) {
            setErrorString(QStringLiteral("the device broke while reading"));
            return -1;
        }
        const qint64 n = qMin(maxSize, m_bytes.size() - m_read);
        std::copy_n(m_bytes.constData() + m_read, n, data);
        m_read += n;
        return n;
    }
    qint64 writeData(const char *data, qint64 size) override {
        if (m_written.size() + size > m_room) {
            setErrorString(QStringLiteral("the device is full"));
            return -1;
        }
        m_written.append(data, size);
        return size;
    }

private:
    QByteArray m_bytes;
    qint64 m_read = 0;
    qint64 m_room;
    QByteArray m_written;
};
