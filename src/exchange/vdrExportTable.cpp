#include "vdrExportTable.h"

#include "vdrCars.h"
#include "vdrCarsUDF.h"
#include "vdrDateTime.h"
#include "vdrExportSink.h"
#include "vdrFormatSettings.h"
#include "vdrMaint.h"
#include "vdrMaintNotes.h"
#include "vdrMaintRepairs.h"
#include "vdrPlainNumber.h"
#include "vdrRepairs.h"
#include "vdrSortOrder.h"
#include "vdrUDF.h"

// The large tables are written straight from their stored rows when a row
// has the shape their own writers give it; any other row goes through the
// table's own reading, so that it is written as the tables read it.

namespace {

// The TAB-separated fields of `row`; false unless there are exactly `count`.
bool SplitFields(QStringView row, QStringView *fields, int count) {
    qsizetype start = 0;
    for (int i = 0; i < count - 1; ++i) {
        const qsizetype tab = row.indexOf(u'\t', start);
        if (tab < 0)
            return false;
        fields[i] = row.mid(start, tab - start);
        start = tab + 1;
    }
    fields[count - 1] = row.mid(start);
    return !fields[count - 1].contains(u'\t');
}

// A key as FormatKey writes it, read as the tables read it.
bool Key(QStringView text, qint32 &number) {
    return vdrPlainNumber::Integer(text, number, false);
}

// yyyy-mm-dd of a day number, as the event's GetDate gives it; false for a
// day that is not set (today's) or a year beyond four digits.
bool DateText(qint32 dayNumber, char (&text)[10]) {
    const QDate date = vdrDateTime::DateOfDayNumber(dayNumber);
    int y = 0, m = 0, d = 0;
    date.getDate(&y, &m, &d);
    if (!date.isValid() || y < 1 || y > 9999)
        return false;
    const int parts[] = {y / 1000, y / 100 % 10, y / 10 % 10, y % 10, -1, m / 10, m % 10, -1, d / 10, d % 10};
    for (int i = 0; i < 10; ++i)
        text[i] = parts[i] < 0 ? '-' : char('0' + parts[i]);
    return true;
}

void CarsRows(TvdrExportSink &sink) {
    for (int i = 0; i < Cars().Count(); ++i) {
        const TvdrCarRec car = Cars().CarRec(Cars().CarNbrAt(i));
        sink.BeginRow();
        sink.Number(car.CarNbr);
        sink.Number(car.Year);
        sink.Text(car.Make);
        sink.Text(car.Model);
        sink.Text(car.PictureExtension);
        sink.EndRow();
    }
}

void UdfRows(TvdrExportSink &sink) {
    for (int i = 0; i < UDF().Count(); ++i) {
        sink.BeginRow();
        sink.Number(UDF().UdfNbrAt(i));
        sink.Number(UDF().UdfSortOrderAt(i));
        sink.Text(UDF().NameAt(i));
        sink.EndRow();
    }
}

void CarsUdfRows(TvdrExportSink &sink) {
    TvdrCarsUDF &table = CarsUDF();
    for (int i = 0; i < table.Count(); ++i) {
        const QString row = table.Get(i);
        QStringView fields[3];
        qint32 carNbr = 0, udfNbr = 0;
        sink.BeginRow();
        if (SplitFields(row, fields, 3) && Key(fields[0], carNbr) && Key(fields[1], udfNbr)) {
            sink.Number(carNbr);
            sink.Number(udfNbr);
            sink.Text(fields[2]);
        } else {
            sink.Number(table.CarNbrAt(i));
            sink.Number(table.UdfNbrAt(i));
            sink.Text(table.ValueAt(i));
        }
        sink.EndRow();
    }
}

void RepairsRows(TvdrExportSink &sink) {
    Repairs().BuildOrder(false);
    for (int i = 0; i < Repairs().OrderCount(); ++i) {
        const qint32 repairNbr = Repairs().RepairNbrAt(i);
        sink.BeginRow();
        sink.Number(repairNbr);
        sink.Text(Repairs().Description(repairNbr));
        sink.EndRow();
    }
}

// The event of a stored row with the usual shape, as EventAt would read it.
bool StoredEvent(QStringView row, TvdrMaintRec &rec) {
    const qsizetype eq = row.indexOf(u'=');
    QStringView key[2];
    QStringView value[3];
    return SplitFields(row.left(eq), key, 2) && SplitFields(row.mid(eq + 1), value, 3) &&
           Key(key[0], rec.CarNbr) && Key(key[1], rec.MaintNbr) && Key(value[0], rec.Date) && rec.Date > 0 &&
           vdrPlainNumber::Integer(value[1], rec.Mileage) && vdrPlainNumber::Decimal(value[2], rec.Cost);
}

void MaintRows(TvdrExportSink &sink) {
    TvdrMaint &table = Maint();
    const TvdrFormatSettings &formats = TvdrFormatSettings::Current();
    for (int i = 0; i < table.Count(); ++i) {
        const QString row = table.Get(i);
        // A row without "=" holds no event.
        if (!row.contains(QLatin1Char('=')))
            continue;
        TvdrMaintRec rec;
        char date[10];
        if (!StoredEvent(row, rec) || !DateText(rec.Date, date)) {
            rec = *table.EventAt(i);
            const QByteArray text = rec.GetDate().toString(QStringLiteral("yyyy-MM-dd")).toLatin1();
            sink.BeginRow();
            sink.Number(rec.CarNbr);
            sink.Number(rec.MaintNbr);
            sink.Ascii(text.constData(), text.size());
        } else {
            sink.BeginRow();
            sink.Number(rec.CarNbr);
            sink.Number(rec.MaintNbr);
            sink.Ascii(date, sizeof date);
        }
        sink.Number(rec.Mileage);
        sink.Text(formats.Fixed2(rec.Cost));
        sink.EndRow();
    }
}

void MaintRepairsRows(TvdrExportSink &sink) {
    TvdrMaintRepairs &table = MaintRepairs();
    for (int i = 0; i < table.Count(); ++i) {
        const QString row = table.Get(i);
        QStringView fields[3];
        TvdrMaintRepairs::TLink link;
        if (!SplitFields(row, fields, 3) || !Key(fields[0], link.CarNbr) || !Key(fields[1], link.MaintNbr) ||
            !Key(fields[2], link.RepairNbr))
            link = table.LinkAt(i);
        sink.BeginRow();
        sink.Number(link.CarNbr);
        sink.Number(link.MaintNbr);
        sink.Number(link.RepairNbr);
        sink.EndRow();
    }
}

void MaintNotesRows(TvdrExportSink &sink) {
    TvdrMaintNotes &table = MaintNotes();
    for (int i = 0; i < table.Count(); ++i) {
        const QString row = table.Get(i);
        QStringView fields[3];
        qint32 carNbr = 0, maintNbr = 0;
        sink.BeginRow();
        if (SplitFields(row, fields, 3) && Key(fields[0], carNbr) && Key(fields[1], maintNbr)) {
            sink.Number(carNbr);
            sink.Number(maintNbr);
            sink.Text(fields[2]);
        } else {
            const TvdrMaintNotes::TNote note = table.NoteAt(i);
            sink.Number(note.CarNbr);
            sink.Number(note.MaintNbr);
            sink.Text(note.StoredNote);
        }
        sink.EndRow();
    }
}

void SortOrderRows(TvdrExportSink &sink) {
    for (int i = 0; i < SortOrder().Count(); ++i) {
        const TvdrSortOrderRec *rec = SortOrder().SortOrderAt(i);
        sink.BeginRow();
        sink.Text(rec->SortOrderName);
        sink.Number(rec->SortOrderNbr);
        sink.Fields(rec->FieldsText());
        sink.EndRow();
    }
}

TvdrExportTable Table(const char *name, const char *columns, void (*rows)(TvdrExportSink &)) {
    return {QString::fromLatin1(name), QString::fromLatin1(columns).split(QLatin1Char(' ')), rows};
}

} // namespace

void TvdrExportTable::Write(TvdrExportSink &sink) const {
    sink.BeginTable(*this);
    WriteRows(sink);
    sink.EndTable();
}

const std::vector<TvdrExportTable> &ExportTables() {
    static const std::vector<TvdrExportTable> tables = {
        Table("Cars", "CarNbr Year Make Model PictureExtension", CarsRows),
        Table("UDF", "UdfNbr SortOrder Name", UdfRows),
        Table("CarsUDF", "CarNbr UdfNbr Value", CarsUdfRows),
        Table("Repairs", "RepairNbr Description", RepairsRows),
        Table("Maint", "CarNbr MaintNbr Date Mileage Cost", MaintRows),
        Table("MaintRepairs", "CarNbr MaintNbr RepairNbr", MaintRepairsRows),
        Table("MaintNotes", "CarNbr MaintNbr Note", MaintNotesRows),
        Table("SortOrder", "SortOrderName SortOrderNbr SortOrderFields", SortOrderRows),
    };
    return tables;
}
