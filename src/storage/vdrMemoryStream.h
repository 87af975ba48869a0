#pragma once

#include "vdrLock.h"

#include <QBuffer>
#include <QString>

class TkvxStreamFile;

// A byte buffer bound to one named stream of a container. Load, Save and
// Delete act on that stream only while a container is bound; the container
// is not owned and must outlive the binding.
class TvdrMemoryStream : public QBuffer {
public:
    explicit TvdrMemoryStream(const QString &streamId);

    QString StreamId() const { return m_streamId; }
    TkvxStreamFile *StreamFile() const { return m_streamFile; }
    void SetStreamFile(TkvxStreamFile *file) { m_streamFile = file; }
    TvdrLock &Lock() { return m_lock; }

    // Reads the stream into the buffer at the current position, then rewinds.
    // A missing or damaged stream leaves the buffer empty; nothing is raised.
    // A damaged one is kept aside first (NoteUnreadableStream).
    void Load();
    // What the last Load found wrong with a stream that is there but could not
    // be read; empty after a sound or missing stream.
    QString LoadProblem();
    // Stores the whole buffer, whatever the position. Errors propagate.
    void Save();
    // Removes the stream from the container (no error when it is missing).
    void Delete();

private:
    QString m_streamId;
    TkvxStreamFile *m_streamFile = nullptr;
    TvdrLock m_lock;
    QString m_loadProblem;
};
