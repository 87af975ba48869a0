#pragma once

#include <QString>

class QWidget;

// The common routines that need windows: message boxes, the input box, the
// folder and file choosers and the desktop's "open", all through Prompts();
// and a window's placement as text.

// True when the user answered No (closing the box counts as No); callers go
// on unless it returns true.
bool AnsweredNo(const QString &message);
void ShowError(const QString &message);
void ShowWarning(const QString &message);
void ShowInfo(const QString &message);
// The typed text, or `text` unchanged when cancelled (`accepted` says which).
QString InputBox(const QString &caption, const QString &prompt, const QString &text,
                 bool *accepted = nullptr);
// Empty text when cancelled. `additionalText` has no place in the folder
// dialogs here and is not shown.
QString BrowseFolder(const QString &caption, const QString &folder,
                     const QString &additionalText = QString());
// `filter` is "description|pattern" pairs ("XML files (*.xml)|*.xml");
// the dialog starts in `folder`, or when that is empty in the program's
// folder (the home folder for an installed program).
QString OpenFile(const QString &title, const QString &filter, const QString &folder = QString());
// A file to write, in the same "description|pattern" filter form, starting
// at `fileName`; empty text when cancelled.
QString SaveFile(const QString &title, const QString &filter, const QString &fileName);
// Nothing happens for empty text.
void ShellOpen(const QString &target);

// "description|pattern|description|pattern" as Qt's "description (pattern);;..."
// filter; patterns separated by ";" become blank-separated.
QString QtFileFilter(const QString &pairs);

// "state top left height width" ("%d %d %d %d %d"; state 0 normal,
// 1 minimized, 2 maximized); a maximized window gives "2" alone. The
// position is the window frame's, the size the window's own.
QString GetPlacement(const QWidget *window);
// Applies a placement text: the position and, for a window that can be
// resized, the size; then KeepOnScreen; then the state. A missing or
// non-numeric state keeps the window's; missing numbers leave their part
// as designed.
void SetPlacement(QWidget *window, const QString &text);
// Moves the window back onto the work area of the screen that shows it (the
// nearest screen when none does): its top-left corner first, then its
// bottom-right corner, without pushing the top-left corner off the area.
void KeepOnScreen(QWidget *window);
