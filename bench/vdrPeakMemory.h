#pragma once

#include <QtGlobal>

// The most memory a stretch of work held at once, beyond what the process
// held when it began: the kernel's peak resident size (VmHWM), reset at
// Start through /proc/self/clear_refs, less the resident size at Start.
// Free memory is handed back to the system first, so what malloc keeps
// cached does not hide the work's own peak. Linux only; 0 where the files
// cannot be read.
class TvdrPeakMemory {
public:
    // A new process (a forked child) counts each page of the program and
    // its libraries when it first runs or reads it. Called before Start,
    // this maps them all at once, so that they are no part of the work's
    // peak: what remains is the memory the work itself takes.
    static void MapFilePages();

    void Start();
    // Bytes, since Start.
    qint64 Peak() const;
    // Bytes resident now beyond those at Start, after free memory is
    // handed back.
    qint64 Held() const;

private:
    qint64 m_start = 0;
};
