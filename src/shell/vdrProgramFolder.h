#pragma once

#include <QString>

// The folder of the running program (where the .ini and vdrLang.dat live),
// without a trailing separator. Tests point it at a temporary folder.
QString ProgramFolder();
void SetProgramFolder(const QString &folder);
