#pragma once

#include <QList>
#include <QString>

#include <functional>

class TkvxStreamFile;

// A stream that a load found in its container but could not read. The load
// gives an empty table or picture, and the owner's next save would write that
// emptiness over the stream; so before anything else happens the damaged block
// is copied, byte for byte, under another Id of the same container.
struct TvdrDamagedStream {
    QString FileName; // the container's file
    QString StreamId;
    QString Error;   // why the stream could not be read
    QString KeptAs;  // the Id of the copy; empty when none could be made (read-only, or the copy failed)
    QString Message; // the log line: one sentence of fixed English text
};

// The damaged streams that loads have met since the tables were last bound,
// one entry per container and stream (a later load of the same stream
// replaces its entry). Any thread.
QList<TvdrDamagedStream> DamagedStreams();
void ClearDamagedStreams();

// Storage sits below the log, so it reports through this hook, which the log
// sets when it is created. An empty hook drops the lines. Returns the
// previous hook.
using TvdrStorageLog = std::function<void(const QString &line)>;
TvdrStorageLog SetStorageLog(TvdrStorageLog log);
// Writes one line through the hook. Never throws.
void WriteStorageLog(const QString &line);

// For loads whose read of `streamId` failed with `error`. A stream that is not
// in the container is missing, not damaged: nothing happens and the result is
// empty. Otherwise, in a read-write container, the raw block is kept as
// "<StreamId>.damaged" (or .damaged2, 3, ... when that Id holds other bytes;
// an identical copy already there is reused, so reloading the same damage
// adds nothing). Then the line is logged and the stream listed in
// DamagedStreams(). Returns the log line. Never throws.
QString NoteUnreadableStream(TkvxStreamFile &file, const QString &streamId, const QString &error);
