#pragma once

#include <QString>

// Moves a file to `target`, creating the target's folder, and never over an
// existing file. Empty text on success, else the system's error as
// "[code]-message"; a failed move leaves the file where it was.
QString MoveFileNoReplace(const QString &source, const QString &target);
