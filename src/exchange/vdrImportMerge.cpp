#include "vdrImportMerge.h"

#include "vdrTableTransaction.h"

#include "vdrCars.h"
#include "vdrCarsUDF.h"
#include "vdrCmRtn.h"
#include "vdrCodePage.h"
#include "vdrKeyAllocation.h"
#include "vdrLimits.h"
#include "vdrMaint.h"
#include "vdrMaintNotes.h"
#include "vdrMaintRepairs.h"
#include "vdrPicture.h"
#include "vdrPictureImage.h"
#include "vdrRegularFile.h"
#include "vdrRepairs.h"
#include "vdrSortOrder.h"
#include "vdrStrUtils.h"
#include "vdrUDF.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

// Record numbers of 0 to 9,999,999 are written with seven digits, so their
// numbers sort as the tables sort the rows' text. Rows handed over in that
// order skip the tables' sort by text, most of the cost of merging rows that
// come shuffled; other numbers are left to that sort.
template <class T, class Key> void PutInKeyOrder(QList<T> &rows, Key key) {
    const auto plain = [&key](const T &row) {
        const auto numbers = key(row);
        return std::all_of(numbers.begin(), numbers.end(), [](qint32 n) { return n >= 0 && n <= 9999999; });
    };
    if (!std::all_of(rows.cbegin(), rows.cend(), plain))
        return;
    const auto less = [&key](const T &a, const T &b) { return key(a) < key(b); };
    if (!std::is_sorted(rows.cbegin(), rows.cend(), less))
        std::stable_sort(rows.begin(), rows.end(), less);
}

// The database holds code page 1252: what it cannot hold becomes "?" now,
// so the tables in memory hold what the next load will read.
QString Storable(const QString &text) {
    if (vdrCodePage::CanEncode(text))
        return text;
    return vdrCodePage::ToUnicode(vdrCodePage::FromUnicode(text));
}

QByteArray ReadPicture(const QString &path) {
    return vdrRegularFile::ReadAll(path, vdrLimits::kMaxStreamBytes, QStringLiteral("a picture"));
}

} // namespace

qint32 TvdrImportMerge::TTextIndex::Match(const QString &text) const {
    qint32 caseOnly = -1;
    // values() lists the rows of one key latest first; the lowest number of
    // each kind wins, as a look-up in table order would find it.
    const QList<QPair<qint32, QString>> rows = Rows.values(text.toCaseFolded());
    for (auto row = rows.crbegin(); row != rows.crend(); ++row) {
        if (Taken.contains(row->first))
            continue;
        if (row->second == text)
            return row->first;
        if (caseOnly < 0)
            caseOnly = row->first;
    }
    return caseOnly;
}

void TvdrImportMerge::TTextIndex::Add(qint32 number, const QString &text) {
    Rows.insert(text.toCaseFolded(), {number, text});
}

void TvdrImportMerge::Execute(TvdrImportRows rows) {
    Write(rows, {});
}

void TvdrImportMerge::Execute(const QString &pictureFolder, const TReadTable &read) {
    TvdrImportRows rows;
    rows.PictureFolder = pictureFolder;
    Write(rows, read);
}

bool TvdrImportMerge::IsPlainExtension(const QString &extension) {
    if (extension.isEmpty())
        return false;
    for (const QChar ch : extension)
        if (!(ch.isLetterOrNumber() && ch.unicode() < 128))
            return false;
    return true;
}

QString TvdrImportMerge::PicturePath(const TvdrImportRows &rows, const TvdrImportRows::TCar &car,
                                     bool count) {
    if (car.PictureExtension.isEmpty())
        return QString();
    if (!IsPlainExtension(car.PictureExtension)) {
        if (count)
            Skip();
        return QString();
    }
    QString path = rows.PictureFolder;
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    return path + TvdrPicture::StreamIdOf(car.CarNbr) + QLatin1Char('.') + car.PictureExtension;
}

void TvdrImportMerge::Check(const TvdrImportRows &rows) {
    for (const TvdrImportRows::TCar &car : rows.Cars) {
        const QString path = PicturePath(rows, car, false);
        if (path.isEmpty())
            continue;
        // The export writes an empty file for an empty picture stream.
        const QByteArray bytes = ReadPicture(path);
        if (!bytes.isEmpty())
            DecodeCarPicture(bytes, TvdrCarRec::NormalizeExtension(car.PictureExtension), path);
    }
}

void TvdrImportMerge::Write(TvdrImportRows &rows, const TReadTable &read) {
    const auto next = [&](TTable table) {
        if (read)
            read(table, rows);
    };
    // The whole merge is one change of the database: a failure leaves it,
    // and the tables in memory, as they were.
    InOneTransaction(
        {&Cars(), &UDF(), &Repairs(), &CarsUDF(), &Maint(), &MaintRepairs(), &MaintNotes(), &SortOrder()},
        [&] {
            next(TTable::Cars);
            Check(rows);
            WriteCars(rows.Cars);
            Cars().Save();
            next(TTable::Udfs);
            WriteUdfs(rows.Udfs);
            UDF().Save();
            next(TTable::Repairs);
            WriteRepairs(rows.Repairs);
            Repairs().Save();
            next(TTable::CarValues);
            WriteCarValues(std::exchange(rows.CarValues, {}));
            CarsUDF().Save();
            next(TTable::Events);
            WriteEvents(std::exchange(rows.Events, {}));
            Maint().Save();
            next(TTable::Links);
            WriteLinks(std::exchange(rows.Links, {}));
            MaintRepairs().Save();
            next(TTable::Notes);
            WriteNotes(std::exchange(rows.Notes, {}));
            MaintNotes().Save();
            next(TTable::SortOrders);
            WriteSortOrders(rows.SortOrders);
            SortOrder().Save();
            WritePictures(rows);
        });
}

void TvdrImportMerge::WriteCars(const QList<TvdrImportRows::TCar> &cars) {
    // New numbers follow the first-free-number rule, the walk resumed where
    // it stopped: a file of n cars walks the table once, not n times.
    TvdrKeyAllocation::TWalk walk;
    const auto rowNumber = [](const QString &row) { return TvdrKeyAllocation::NameNumber(row); };
    QList<QPair<QString, QString>> carRows;
    carRows.reserve(cars.size());
    for (const TvdrImportRows::TCar &car : cars) {
        TvdrCarRec rec;
        rec.CarNbr = TvdrKeyAllocation::FirstFreeNumber(Cars(), rowNumber, walk);
        ++walk.Next; // taken, though its row comes with the others
        m_cars.insert(car.CarNbr, rec.CarNbr);
        m_carRows.append(rec.CarNbr);
        rec.Year = car.Year;
        rec.SetMake(Storable(car.Make));
        rec.SetModel(Storable(car.Model));
        rec.SetPictureExtension(Storable(car.PictureExtension));
        // As the car's field writes it: trimmed.
        carRows.append({TvdrCmRtn::FormatKey(rec.CarNbr), Trim(rec.Encode())});
    }
    Cars().SetValues(std::move(carRows));
}

void TvdrImportMerge::WriteUdfs(const QList<TvdrImportRows::TUdf> &udfs) {
    TTextIndex texts;
    UDF().SortByNumber();
    for (int i = 0; i < UDF().Count(); ++i)
        texts.Add(UDF().UdfNbrAt(i), UDF().NameAt(i));
    TvdrKeyAllocation::TWalk walk;
    for (const TvdrImportRows::TUdf &udf : udfs) {
        const QString name = Trim(SingleLine(Storable(udf.Name)));
        qint32 udfNbr = texts.Match(name);
        if (udfNbr < 0) {
            UDF().SortByNumber();
            udfNbr = TvdrKeyAllocation::FirstFreeNumber(
                UDF(), [](const QString &row) { return TvdrPrefixList::NumberField(row, 1); }, walk);
            UDF().AddUdfAs(udfNbr, udf.SortOrder, name);
            texts.Add(udfNbr, name);
        }
        texts.Taken.insert(udfNbr);
        m_udfs.insert(udf.UdfNbr, udfNbr);
    }
}

void TvdrImportMerge::WriteRepairs(const QList<TvdrImportRows::TRepair> &repairs) {
    TTextIndex texts;
    for (int i = 0; i < Repairs().Count(); ++i) {
        const QString row = Repairs().Get(i);
        const qsizetype eq = row.indexOf(QLatin1Char('='));
        bool ok = false;
        const qint32 number = row.left(eq).toInt(&ok, 10);
        if (eq >= 0 && ok)
            texts.Add(number, row.mid(eq + 1));
    }
    for (const TvdrImportRows::TRepair &repair : repairs) {
        const QString description = SingleLine(Storable(repair.Description));
        // A blank description stores no row; links to its number would go to
        // whatever description gets that number next.
        if (Trim(description).isEmpty()) {
            Skip();
            continue;
        }
        qint32 repairNbr = texts.Match(description);
        if (repairNbr < 0) {
            repairNbr = Repairs().AddRepair(description, false);
            texts.Add(repairNbr, description);
        }
        texts.Taken.insert(repairNbr);
        m_repairs.insert(repair.RepairNbr, repairNbr);
    }
    Repairs().BuildOrder(Repairs().Descending());
}

void TvdrImportMerge::WriteCarValues(QList<TvdrImportRows::TCarValue> values) {
    QList<TvdrCarsUDF::TValue> stored;
    stored.reserve(values.size());
    for (const TvdrImportRows::TCarValue &value : values) {
        const qint32 carNbr = NewCarNbr(value.CarNbr);
        const qint32 udfNbr = NewUdfNbr(value.UdfNbr);
        if (carNbr < 0 || udfNbr < 0)
            Skip();
        else
            stored.append({carNbr, udfNbr, Storable(value.Value)});
    }
    values = {}; // read: gone before the table grows
    PutInKeyOrder(stored, [](const TvdrCarsUDF::TValue &v) {
        return std::array<qint32, 2>{v.CarNbr, v.UdfNbr};
    });
    CarsUDF().SetCarValues(stored);
}

void TvdrImportMerge::WriteEvents(QList<TvdrImportRows::TEvent> events) {
    QList<TvdrMaintRec> stored;
    stored.reserve(events.size());
    m_events.reserve(m_events.size() + size_t(events.size()));
    for (const TvdrImportRows::TEvent &event : events) {
        const qint32 carNbr = NewCarNbr(event.CarNbr);
        if (carNbr < 0) {
            Skip();
            continue;
        }
        TvdrMaintRec rec;
        rec.SetCarNbr(carNbr);
        rec.SetMaintNbr(event.MaintNbr);
        rec.Date = event.DayNumber;
        rec.SetMileage(event.Mileage);
        rec.SetCost(event.Cost);
        stored.append(rec);
        m_events.push_back(EventKey(carNbr, event.MaintNbr));
    }
    events = {}; // read: gone before the table grows
    std::sort(m_events.begin(), m_events.end());
    PutInKeyOrder(stored, [](const TvdrMaintRec &rec) {
        return std::array<qint32, 2>{rec.CarNbr, rec.MaintNbr};
    });
    Maint().StoreEvents(stored);
}

quint64 TvdrImportMerge::EventKey(qint32 carNbr, qint32 maintNbr) {
    return quint64(quint32(carNbr)) << 32 | quint32(maintNbr);
}

bool TvdrImportMerge::HasEvent(qint32 carNbr, qint32 maintNbr) const {
    // The file's own events first: a search of the table per row would cost
    // more than the rest of the merge.
    return std::binary_search(m_events.cbegin(), m_events.cend(), EventKey(carNbr, maintNbr)) ||
           Maint().HasEvent(carNbr, maintNbr);
}

void TvdrImportMerge::WriteLinks(QList<TvdrImportRows::TLink> links) {
    QList<TvdrMaintRepairs::TLink> stored;
    stored.reserve(links.size());
    for (const TvdrImportRows::TLink &link : links) {
        const qint32 carNbr = NewCarNbr(link.CarNbr);
        const qint32 repairNbr = NewRepairNbr(link.RepairNbr);
        if (carNbr < 0 || repairNbr < 0 || !HasEvent(carNbr, link.MaintNbr))
            Skip();
        else
            stored.append({carNbr, link.MaintNbr, repairNbr});
    }
    links = {}; // read: gone before the table grows
    PutInKeyOrder(stored, [](const TvdrMaintRepairs::TLink &l) {
        return std::array<qint32, 3>{l.CarNbr, l.MaintNbr, l.RepairNbr};
    });
    MaintRepairs().AddLinks(stored);
}

void TvdrImportMerge::WriteNotes(QList<TvdrImportRows::TNote> notes) {
    QList<TvdrMaintNotes::TNote> stored;
    stored.reserve(notes.size());
    for (const TvdrImportRows::TNote &note : notes) {
        const qint32 carNbr = NewCarNbr(note.CarNbr);
        if (carNbr < 0 || !HasEvent(carNbr, note.MaintNbr))
            Skip();
        else
            stored.append({carNbr, note.MaintNbr, Storable(note.Note)});
    }
    notes = {}; // read: gone before the table grows
    PutInKeyOrder(stored, [](const TvdrMaintNotes::TNote &n) {
        return std::array<qint32, 2>{n.CarNbr, n.MaintNbr};
    });
    MaintNotes().AddNotes(std::move(stored));
}

void TvdrImportMerge::WriteSortOrders(const QList<TvdrImportRows::TSortOrder> &sortOrders) {
    for (const TvdrImportRows::TSortOrder &sortOrder : sortOrders) {
        QStringList fields;
        for (const QString &text : sortOrder.Fields) {
            TvdrSortOrderField field;
            field.Decode(text);
            if (field.IsUserDefined()) {
                const qint32 udfNbr = NewUdfNbr(field.FieldNbr);
                if (udfNbr < 0) {
                    Skip();
                    continue;
                }
                field.FieldNbr = udfNbr;
            }
            fields.append(field.Encode());
        }
        SortOrder().Add(TvdrSortOrderRec::EncodeParts(Trim(SingleLine(Storable(sortOrder.Name))),
                                                      sortOrder.SortOrderNbr,
                                                      fields.join(QLatin1Char('\t'))));
    }
}

void TvdrImportMerge::WritePictures(const TvdrImportRows &rows) {
    // Each car row's picture goes to the car made from that row, also when
    // the file gives two cars one number.
    for (qsizetype i = 0; i < rows.Cars.size(); ++i) {
        const QString path = PicturePath(rows, rows.Cars[i], true);
        if (path.isEmpty())
            continue;
        TvdrPicture picture(m_carRows[i]);
        picture.SetStreamFile(Cars().StreamFile());
        picture.write(ReadPicture(path));
        picture.Save();
    }
}
