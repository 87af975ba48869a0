#pragma once

#include "vdrLock.h"

#include <QString>
#include <QTime>

#include <functional>

// The program's plain-text trace, vdrLog.txt in the log folder. One line per
// event: "nn.ss.zzz:<thread id>\t<message>" + CR LF, in code page 1252. The
// file is emptied each time the log is switched on, and every line goes to
// the operating system before Write returns, so a killed program leaves a
// complete log behind.
//
// One per process: reach it through Log(). Any thread may write; a line is
// never interleaved with another. While it exists it also takes the storage
// layer's lines (SetStorageLog).
class TvdrLog {
public:
    using TClock = std::function<QTime()>;
    using TThreadId = std::function<long long()>;

    // Raises "use Log accessor function" unless called by Log().
    TvdrLog();
    // Switches the log off; never throws.
    ~TvdrLog();
    TvdrLog(const TvdrLog &) = delete;
    TvdrLog &operator=(const TvdrLog &) = delete;

    // Appends one line when the log is on; does nothing when it is off.
    // A failing write raises EvdrError.
    void Write(const QString &message);

    // On: creates the file anew (empty, owner read/write only). When that
    // fails the log stays off and EvdrError names the file. Off: closes it.
    // Setting the current state again does nothing (the file is not emptied).
    void SetEnabled(bool on);
    bool IsEnabled();

    // The log file becomes folder + "/vdrLog.txt"; missing folders are
    // created (a failure shows when the log is switched on). An open file is
    // not reopened. An empty folder leaves the log without a file.
    void SetPath(const QString &folder);
    // The folder of the log file with a trailing "/"; empty before SetPath.
    QString Path();
    QString GetFileName();

    // Seams for tests: the time and thread id written into each line. An
    // empty function restores the local time and the calling thread's id.
    void SetClock(TClock clock);
    void SetThreadIdSource(TThreadId threadId);

private:
    TvdrLock m_lock;
    bool m_enabled = false;
    QString m_fileName;
    int m_fd = -1;
    TClock m_clock;
    TThreadId m_threadId;
};

TvdrLog &Log();
