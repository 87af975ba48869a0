#pragma once

#include <QString>
#include <QStringList>

// The "drive" of a path on this system: the mount point of the file system
// that holds it, empty for the root file system. A program and its database
// on a removable disk share a drive, and find each other again when the disk
// is mounted elsewhere.
QString DriveOf(const QString &absolutePath);

// The mount points DriveOf chooses from; read from the system unless a test
// sets them (an empty list restores the system's).
QStringList MountPoints();
void SetMountPoints(const QStringList &mountPoints);
