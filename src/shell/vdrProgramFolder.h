#pragma once

#include <QString>

// The folder of the running program (where the .ini and vdrLang.dat live),
// without a trailing separator. Tests point it at a temporary folder.
QString ProgramFolder();
void SetProgramFolder(const QString &folder);

// The program file's name without folder and extension ("Vandor"); names
// the .ini file. Tests may set it.
QString ProgramName();
void SetProgramName(const QString &name);
