#include "vdrMaintNotes.h"

#include "vdrCmRtn.h"
#include "vdrCodePage.h"
#include "vdrSingleton.h"
#include "vdrStrUtils.h"

TvdrMaintNotes::TvdrMaintNotes() : TvdrPrefixList(QStringLiteral("TvdrMaintNotes")) {
    TvdrSingleton<TvdrMaintNotes>::CheckCreation("MaintNotes");
}

TvdrMaintNotes &MaintNotes() {
    return TvdrSingleton<TvdrMaintNotes>::Instance();
}

namespace {

// Whether `note` is in stored form already: no line break, TAB or NUL, and
// every backslash starts one of the escapes. Unescaping and escaping it
// again gives it back unchanged.
bool IsStoredForm(const QString &note) {
    for (qsizetype i = 0; i < note.size(); ++i) {
        const char16_t ch = note[i].unicode();
        if (ch == u'\r' || ch == u'\n' || ch == u'\t' || ch == 0)
            return false;
        if (ch == u'\\') {
            const char16_t next = i + 1 < note.size() ? note[i + 1].unicode() : 0;
            if (next != u'n' && next != u't' && next != u'\\')
                return false;
            ++i;
        }
    }
    return true;
}

} // namespace

QString TvdrMaintNotes::StoredForm(const QString &note) {
    // An exported note comes in stored form: no need to take it apart.
    if (IsStoredForm(note))
        return note;
    QString stored = TvdrCmRtn::EscapeText(TvdrCmRtn::UnescapeText(note));
    // A NUL would end the whole table when it is read back.
    stored.replace(QChar(0), QLatin1Char(' '));
    return stored;
}

void TvdrMaintNotes::AddNote(qint32 carNbr, qint32 maintNbr, const QString &note) {
    TvdrWriteGuard guard(Lock());
    RemoveNote(carNbr, maintNbr);
    Add(KeyPrefix(carNbr, maintNbr) + StoredForm(note));
}

void TvdrMaintNotes::AddNotes(QList<TNote> notes) {
    TvdrRows rows;
    qsizetype bytes = 0; // as stored: two keys and their TABs, then the note
    for (const TNote &note : std::as_const(notes))
        bytes += 16 + note.StoredNote.size();
    rows.Reserve(notes.size(), bytes);
    for (const TNote &note : notes)
        AppendKeyedRow(rows, note.CarNbr, note.MaintNbr, StoredForm(note.StoredNote));
    notes = {}; // their texts are in the rows now
    ReplaceByPrefix(std::move(rows), 2);
}

QString TvdrMaintNotes::GetNote(qint32 carNbr, qint32 maintNbr) const {
    return TvdrCmRtn::UnescapeText(StoredNote(carNbr, maintNbr));
}

QString TvdrMaintNotes::StoredNote(qint32 carNbr, qint32 maintNbr) const {
    TvdrReadGuard guard(Lock());
    const QString prefix = KeyPrefix(carNbr, maintNbr);
    int first = 0;
    int end = 0;
    PrefixRange(prefix, first, end);
    return first < end ? vdrCodePage::ToUnicode(Lines().At(first).sliced(prefix.size())) : QString();
}

// Every note row of the event: one left behind would pass to the next event
// that gets this number.
void TvdrMaintNotes::RemoveNote(qint32 carNbr, qint32 maintNbr) {
    RemoveByPrefix(KeyPrefix(carNbr, maintNbr));
}

void TvdrMaintNotes::RemoveCarNotes(qint32 carNbr) {
    RemoveByPrefix(KeyPrefix(carNbr));
}

QString TvdrMaintNotes::RowProblem(const QString &row) const {
    // Look-ups match the two numbers with the TAB behind each.
    return HasLeadingKeys(row, 2, false)
               ? QString()
               : QStringLiteral("the row does not start with two record numbers, each followed by a TAB");
}

TvdrMaintNotes::TNote TvdrMaintNotes::NoteAt(int index) const {
    const QString row = Get(index);
    return {NumberField(row, 1), NumberField(row, 2), ExtractWord(3, row, QStringLiteral("\t"))};
}
