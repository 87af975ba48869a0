#pragma once

#include <functional>

class QDialog;

// Every modal dialog of the program runs through RunModal. A test queues
// scripts instead of answering a modal loop: while one is queued, the next
// dialog is shown, the script fills it and presses its buttons, and the
// dialog's result is returned without any event loop.
int RunModal(QDialog &dialog);

using TvdrDialogScript = std::function<void(QDialog &)>;
void QueueDialogScript(TvdrDialogScript script);
// Scripts queued but not used yet.
int PendingDialogScripts();
void ClearDialogScripts();
