#pragma once

#include <QString>

#include <functional>

class QWidget;

// Runs `work` on a thread of its own while the windows keep painting: a
// busy cursor at once and, when it lasts longer than a moment, a progress
// window with `label`. The user's input waits until the work is done, so
// no other command runs beside it. An error of `work` is raised here, on
// the calling thread.
//
// `work` may use the tables and the database (they are the caller's alone
// meanwhile) but no widget.
void RunInBackground(QWidget *parent, const QString &label, const std::function<void()> &work);
