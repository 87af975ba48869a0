#pragma once

#include "vdrPrefixList.h"

// One row per event note: FormatKey(CarNbr), TAB, FormatKey(MaintNbr), TAB,
// the note in stored form (EscapeText: one line, no TAB). No operation saves.
// One per process: reach it through MaintNotes().
class TvdrMaintNotes : public TvdrPrefixList {
public:
    struct TNote {
        qint32 CarNbr = 0;
        qint32 MaintNbr = 0;
        QString StoredNote;
    };

    TvdrMaintNotes();

    // Stores EscapeText(UnescapeText(note)), so a note as typed and one in
    // stored form (an import) are both taken. It replaces the event's note:
    // an event has one note at most.
    void AddNote(qint32 carNbr, qint32 maintNbr, const QString &note);
    // AddNote of each in turn (StoredNote as typed or stored), in one merge
    // whatever their order.
    void AddNotes(QList<TNote> notes);
    // The note as text with CR LF line breaks; empty without a note.
    QString GetNote(qint32 carNbr, qint32 maintNbr) const;
    QString StoredNote(qint32 carNbr, qint32 maintNbr) const;
    void RemoveNote(qint32 carNbr, qint32 maintNbr);
    void RemoveCarNotes(qint32 carNbr);

    TNote NoteAt(int index) const;

    // Car and event, each followed by a TAB, then the note.
    QString RowProblem(const QString &row) const override;

    // The stored form of a note as typed or as stored.
    static QString StoredForm(const QString &note);
};

TvdrMaintNotes &MaintNotes();
