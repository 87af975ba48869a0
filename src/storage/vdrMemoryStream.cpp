#include "vdrMemoryStream.h"

#include "kvxStreamFile.h"
#include "vdrStreamDamage.h"

TvdrMemoryStream::TvdrMemoryStream(const QString &streamId) : m_streamId(streamId) {
    open(QIODevice::ReadWrite);
}

void TvdrMemoryStream::Load() {
    if (m_streamId.isEmpty() || !m_streamFile)
        return;
    TvdrWriteGuard guard(m_lock);
    m_loadProblem.clear();
    try {
        m_streamFile->ReadStream(m_streamId, *this);
    } catch (const std::exception &e) {
        buffer().clear();
        m_loadProblem = NoteUnreadableStream(*m_streamFile, m_streamId, QString::fromUtf8(e.what()));
    }
    seek(0);
}

QString TvdrMemoryStream::LoadProblem() {
    TvdrReadGuard guard(m_lock);
    return m_loadProblem;
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
