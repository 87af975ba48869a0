#pragma once

#include <QList>
#include <QString>

// One definition in the user-defined fields dialog's list, in the user's
// order. UdfNbr is -1 for a definition added in the dialog.
struct TvdrUdfEntry {
    qint32 UdfNbr = -1;
    QString Name;
};

// Confirms the dialog: every deleted definition goes with its values and its
// fields in the sort orders; then the list's definitions are stored with
// positions 0, 1, 2, ... (new ones numbered, possibly with a number freed a
// moment ago); then the sort orders, the values and the definitions are
// saved, in that order, as one change of the database.
void ApplyUdfChanges(const QList<qint32> &deleted, const QList<TvdrUdfEntry> &entries);
