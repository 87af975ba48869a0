#pragma once

#include <QString>

// What the container asks the file system about a file: its type, identity
// and size, never its times. On file systems that stamp times finely only
// once someone has read them, a stat that asks for them makes the next write
// change the inode, and the flush after that write must then write the inode
// as well: a third of what a small change's flush costs.
struct TkvxSfStatus {
    bool Found = false; // false: errno tells why
    bool Regular = false;
    unsigned Permissions = 0;
    quint64 Device = 0;
    quint64 Inode = 0;
    qint64 Size = 0;

    static TkvxSfStatus Of(int fd);
    // A link itself unless `followLink`.
    static TkvxSfStatus Of(const QString &fileName, bool followLink);

    bool IsSameFileAs(const TkvxSfStatus &other) const {
        return Found && other.Found && Device == other.Device && Inode == other.Inode;
    }
};
