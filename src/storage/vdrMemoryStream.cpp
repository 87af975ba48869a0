#include "vdrMemoryStream.h"

#include "kvxStreamFile.h"

TvdrMemoryStream::TvdrMemoryStream(const QString &streamId) : m_streamId(streamId) {
    open(QIODevice::ReadWrite);
}

void TvdrMemoryStream::Load() {
    if (m_streamId.isEmpty() || !m_streamFile)
        return;
    TvdrWriteGuard guard(m_lock);
    try {
        m_streamFile->ReadStream(m_streamId, *this);
    } catch (const std::exception &) {
        buffer().clear();
    }
    seek(0);
}

void TvdrMemoryStream::Save() {
    if (m_streamId.isEmpty() || !m_streamFile)
        return;
    TvdrWriteGuard guard(m_lock);
    m_streamFile->WriteStream(m_streamId, 0, data());
}

void TvdrMemoryStream::Delete() {
    if (m_streamId.isEmpty() || !m_streamFile)
        return;
    TvdrWriteGuard guard(m_lock);
    m_streamFile->DeleteStream(m_streamId);
}
