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

// Whether the program may keep its files beside itself (a portable
// install). An installed program keeps its .ini in the user's configuration
// folder and proposes the user's data folder for the database instead.
bool ProgramFolderWritable();
// Tests decide the answer (root may write anywhere); -1 asks the system again.
void SetProgramFolderWritable(int writable);
// ~/.config/Vandor and ~/.local/share/Vandor (the XDG folders); tests may
// set them (an empty text puts the system's back).
QString UserConfigFolder();
void SetUserConfigFolder(const QString &folder);
QString UserDataFolder();
void SetUserDataFolder(const QString &folder);
// Where the .ini lives: the program's folder when it is writable, else
// UserConfigFolder().
QString SettingsFolder();
// The folder the locations wizard proposes on a first run: the program's
// folder when it is writable, else UserDataFolder().
QString DefaultDataFolder();
