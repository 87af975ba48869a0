#include "vdrExportTable.h"

#include "vdrCars.h"
#include "vdrCarsUDF.h"
#include "vdrCodePage.h"
#include "vdrExportSink.h"
#include "vdrFormatSettings.h"
#include "vdrMaint.h"
#include "vdrMaintNotes.h"
#include "vdrMaintRepairs.h"
#include "vdrPlainNumber.h"
#include "vdrRepairs.h"
#include "vdrSortOrder.h"
#include "vdrUDF.h"

#include <cstdint>
#include <cstring>

// The large tables are written straight from their stored rows (a snapshot,
// so no lock per row) when a row has the shape their own writers give it;
// any other row goes through the table's own reading, so that it is written
// as the tables read it.

namespace {

// A number read from a stored row, and its digits as a file writes them
// when they can go as they stand: a key's leading zeros dropped.
struct TStoredNumber {
    qint32 Value = 0;
    QByteArrayView Plain; // empty for a negative number

    void WriteTo(TvdrExportSink &sink) const {
        if (Plain.isEmpty())
            sink.Number(Value);
        else
            sink.Ascii(Plain.data(), Plain.size());
    }
};

// The fields of a stored row, read left to right in one pass without a
// copy. Each read gives false when the row has another shape there.
class TStoredRow {
public:
    explicit TStoredRow(QByteArrayView row)
        : m_begin(row.data()), m_p(row.data()), m_end(row.data() + row.size()) {}

    // One to nine digits (after a "-" when `sign`), then `separator`, or the
    // row's end when it is 0: read as the tables read them (toInt).
    bool Number(qint32 &number, char separator, bool sign = false) {
        TStoredNumber read;
        const bool ok = Number(read, separator, sign);
        number = read.Value;
        return ok;
    }
    bool Number(TStoredNumber &number, char separator, bool sign = false) {
        if (Key(number, separator))
            return true;
        const bool negative = sign && m_p < m_end && *m_p == '-';
        if (negative)
            ++m_p;
        const char *start = m_p;
        const char *significant = nullptr;
        qint32 n = 0;
        for (; m_p < m_end && *m_p >= '0' && *m_p <= '9'; ++m_p) {
            if (!significant && *m_p != '0')
                significant = m_p;
            // A damaged row may hold any number of digits: past nine the
            // row is refused below, and n would overflow.
            if (m_p - start < 9)
                n = n * 10 + (*m_p - '0');
        }
        const qsizetype digits = m_p - start;
        if (digits < 1 || digits > 9)
            return false;
        number.Value = negative ? -n : n;
        number.Plain = negative ? QByteArrayView() : QByteArrayView(significant ? significant : m_p - 1, m_p);
        if (separator == 0)
            return m_p == m_end;
        if (m_p == m_end || *m_p != separator)
            return false;
        ++m_p;
        return true;
    }
    // The usual number of a row, a key of seven digits before `separator`
    // (or the row's end when it is 0), read as Number reads it but eight
    // bytes at a time; false, having read nothing, for anything else.
    bool Key(TStoredNumber &number, char separator) {
        constexpr qsizetype kDigits = 7;
        const qsizetype left = m_end - m_p;
        if (left < kDigits ||
            (separator == 0 ? left != kDigits : left == kDigits || m_p[kDigits] != separator))
            return false;
        // One load of eight bytes, the digits and the byte after them or,
        // at the row's end, the byte before them: a load of seven is put
        // together from smaller ones and stalls.
        std::uint64_t w = 0;
        if (left > kDigits) {
            std::memcpy(&w, m_p, 8);
            w &= 0x00FFFFFFFFFFFFFFULL;
        } else if (m_p > m_begin) {
            std::memcpy(&w, m_p - 1, 8);
            w >>= 8;
        } else {
            return false;
        }
        // Every byte '0'..'9': none has its top bit, none passes '9' when
        // 0x46 is added, none borrows when '0' is taken away.
        constexpr std::uint64_t kZeros = 0x0030303030303030ULL;
        constexpr std::uint64_t kTops = 0x0080808080808080ULL;
        if (((w | (w + 0x0046464646464646ULL) | (w - kZeros)) & kTops) != 0)
            return false;
        // Eight ASCII digits, a "0" first, folded in three steps.
        std::uint64_t v = (w << 8) | '0';
        v = ((v & 0x0F0F0F0F0F0F0F0FULL) * 2561) >> 8;
        v = ((v & 0x00FF00FF00FF00FFULL) * 6553601) >> 16;
        v = ((v & 0x0000FFFF0000FFFFULL) * 42949672960001ULL) >> 32;
        number.Value = qint32(v);
        const std::uint64_t significant = w ^ kZeros;
        const qsizetype first = significant == 0 ? kDigits - 1 : qsizetype(__builtin_ctzll(significant) / 8);
        number.Plain = QByteArrayView(m_p + first, m_p + kDigits);
        m_p += kDigits + (separator == 0 ? 0 : 1);
        return true;
    }
    // The rest of the row, which holds no TAB.
    bool Rest(QByteArrayView &text) {
        text = QByteArrayView(m_p, m_end);
        return !text.contains('\t');
    }

private:
    const char *m_begin;
    const char *m_p;
    const char *m_end;
};

// yyyy-mm-dd of a day number, as the event's GetDate gives it; false for a
// day that is not set (today's) or a year beyond four digits.
bool DateText(qint32 dayNumber, char (&text)[10]) {
    int y = 0, m = 0, d = 0;
    if (!vdrPlainNumber::DayOfNumber(dayNumber, y, m, d) || y > 9999)
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

// Rows of two keys and a text, taken from the stored rows as they stand;
// a row not of that shape is exported as the table reads it (`asRead`).
template <class AsRead> void KeysAndTextRows(TvdrExportSink &sink, const TvdrRows &rows, AsRead asRead) {
    for (int i = 0; i < int(rows.size()); ++i) {
        TStoredRow fields(rows.At(i));
        TStoredNumber first, second;
        QByteArrayView text;
        sink.BeginRow();
        if (fields.Number(first, '\t') && fields.Number(second, '\t') && fields.Rest(text)) {
            first.WriteTo(sink);
            second.WriteTo(sink);
            sink.StoredText(text);
        } else {
            asRead(i);
        }
        sink.EndRow();
    }
}

void CarsUdfRows(TvdrExportSink &sink) {
    TvdrCarsUDF &table = CarsUDF();
    KeysAndTextRows(sink, table.Snapshot(), [&](int i) {
        sink.Number(table.CarNbrAt(i));
        sink.Number(table.UdfNbrAt(i));
        sink.Text(table.ValueAt(i));
    });
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

// The event of a stored row with the usual shape, as EventAt would read it,
// but for its cost, which stays text.
bool StoredEvent(QByteArrayView row, TStoredNumber (&keys)[2], TvdrMaintRec &rec, QByteArrayView &cost) {
    TStoredRow fields(row);
    const bool read = fields.Number(keys[0], '\t') && fields.Number(keys[1], '=') &&
                      fields.Number(rec.Date, '\t') && rec.Date > 0 &&
                      fields.Number(rec.Mileage, '\t', true) && fields.Rest(cost) && !cost.isEmpty();
    rec.CarNbr = keys[0].Value;
    rec.MaintNbr = keys[1].Value;
    return read;
}

void MaintRows(TvdrExportSink &sink) {
    TvdrMaint &table = Maint();
    const TvdrRows rows = table.Snapshot();
    const TvdrFormatSettings &formats = TvdrFormatSettings::Current();
    const char16_t separator = formats.DecimalSeparator.unicode();
    for (int i = 0; i < int(rows.size()); ++i) {
        const QByteArrayView row = rows.At(i);
        TvdrMaintRec rec;
        TStoredNumber keys[2];
        QByteArrayView costText;
        char date[10];
        if (StoredEvent(row, keys, rec, costText) && DateText(rec.Date, date)) {
            sink.BeginRow();
            keys[0].WriteTo(sink);
            keys[1].WriteTo(sink);
            sink.Ascii(date, sizeof date);
        } else if (row.contains('=')) { // a row without one holds no event
            rec = *table.EventAt(i);
            costText = QByteArrayView();
            const QByteArray text = rec.GetDate().toString(QStringLiteral("yyyy-MM-dd")).toLatin1();
            sink.BeginRow();
            sink.Number(rec.CarNbr);
            sink.Number(rec.MaintNbr);
            sink.Ascii(text.constData(), text.size());
        } else {
            continue;
        }
        sink.Number(rec.Mileage);
        // The stored text when it says it all, else the double it gives.
        char cost[32];
        qsizetype length = 0;
        if (!costText.isNull()) {
            if (separator < 0x80)
                length = vdrPlainNumber::Fixed2(costText, char(separator), cost);
            if (length == 0 && !vdrPlainNumber::Decimal(costText, rec.Cost))
                rec.Cost = TvdrFormatSettings::ParseCost(vdrCodePage::ToUnicode(costText));
        }
        if (length == 0 && separator < 0x80)
            length = vdrPlainNumber::Fixed2(rec.Cost, char(separator), cost);
        if (length > 0)
            sink.Ascii(cost, length);
        else
            sink.Text(formats.Fixed2(rec.Cost));
        sink.EndRow();
    }
}

void MaintRepairsRows(TvdrExportSink &sink) {
    TvdrMaintRepairs &table = MaintRepairs();
    const TvdrRows rows = table.Snapshot();
    for (int i = 0; i < int(rows.size()); ++i) {
        TStoredRow fields(rows.At(i));
        TStoredNumber numbers[3];
        sink.BeginRow();
        if (fields.Number(numbers[0], '\t') && fields.Number(numbers[1], '\t') &&
            fields.Number(numbers[2], 0)) {
            for (const TStoredNumber &number : numbers)
                number.WriteTo(sink);
        } else {
            const TvdrMaintRepairs::TLink link = table.LinkAt(i);
            sink.Number(link.CarNbr);
            sink.Number(link.MaintNbr);
            sink.Number(link.RepairNbr);
        }
        sink.EndRow();
    }
}

void MaintNotesRows(TvdrExportSink &sink) {
    TvdrMaintNotes &table = MaintNotes();
    KeysAndTextRows(sink, table.Snapshot(), [&](int i) {
        const TvdrMaintNotes::TNote note = table.NoteAt(i);
        sink.Number(note.CarNbr);
        sink.Number(note.MaintNbr);
        sink.Text(note.StoredNote);
    });
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
