#include "vdrImportMerge.h"

#include "vdrCars.h"
#include "vdrCarsUDF.h"
#include "vdrCodePage.h"
#include "vdrError.h"
#include "vdrMaint.h"
#include "vdrMaintNotes.h"
#include "vdrMaintRepairs.h"
#include "vdrPicture.h"
#include "vdrRepairs.h"
#include "vdrSortOrder.h"
#include "vdrStrUtils.h"
#include "vdrUDF.h"

#include <QFile>

namespace {

// The database holds code page 1252: what it cannot hold becomes "?" now,
// so the tables in memory hold what the next load will read.
QString Storable(const QString &text) { return vdrCodePage::ToUnicode(vdrCodePage::FromUnicode(text)); }

} // namespace

QString TvdrImportMerge::Key(const QString &old) {
    bool ok = false;
    const qint32 n = Trim(old).toInt(&ok, 10);
    return ok ? QString::number(n) : Trim(old);
}

qint32 TvdrImportMerge::Find(const QHash<QString, qint32> &map, const QString &old) {
    return map.value(Key(old), -1);
}

bool TvdrImportMerge::Skip() {
    ++m_skipped;
    return false;
}

qint32 TvdrImportMerge::AddCar(const QString &oldCarNbr, qint32 year, const QString &make, const QString &model,
                               const QString &pictureExtension) {
    TvdrCarRec rec;
    rec.CarNbr = Cars().FirstFreeNumber(
        [](const QString &row) { return TvdrNvList::ParseRowNumber(TvdrNvList::NameOf(row)); }, m_carWalk);
    m_cars.insert(Key(oldCarNbr), rec.CarNbr);
    rec.Year = year;
    rec.SetMake(Storable(make));
    rec.SetModel(Storable(model));
    rec.SetPictureExtension(Storable(pictureExtension));
    Cars().StoreCarRec(rec);
    return rec.CarNbr;
}

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

qint32 TvdrImportMerge::AddUdf(const QString &oldUdfNbr, qint32 sortOrder, const QString &name) {
    if (!m_udfTexts.Built) {
        UDF().SortByNumber();
        for (int i = 0; i < UDF().Count(); ++i)
            m_udfTexts.Add(UDF().UdfNbrAt(i), UDF().NameAt(i));
        m_udfTexts.Built = true;
    }
    const QString storable = Trim(SingleLine(Storable(name)));
    qint32 udfNbr = m_udfTexts.Match(storable);
    if (udfNbr < 0) {
        UDF().SortByNumber();
        udfNbr = UDF().FirstFreeNumber(
            [](const QString &row) { return TvdrPrefixList::NumberField(row, 1); }, m_udfWalk);
        UDF().AddUdfAs(udfNbr, sortOrder, storable);
        m_udfTexts.Add(udfNbr, storable);
    }
    m_udfTexts.Taken.insert(udfNbr);
    m_udfs.insert(Key(oldUdfNbr), udfNbr);
    return udfNbr;
}

qint32 TvdrImportMerge::AddRepair(const QString &oldRepairNbr, const QString &description) {
    if (!m_repairTexts.Built) {
        for (int i = 0; i < Repairs().Count(); ++i) {
            const QString row = Repairs().Get(i);
            const qsizetype eq = row.indexOf(QLatin1Char('='));
            bool ok = false;
            const qint32 number = row.left(eq).toInt(&ok, 10);
            if (eq >= 0 && ok)
                m_repairTexts.Add(number, row.mid(eq + 1));
        }
        m_repairTexts.Built = true;
    }
    const QString storable = SingleLine(Storable(description));
    // A blank description stores no row; links to its number would go to
    // whatever description gets that number next.
    if (Trim(storable).isEmpty()) {
        Skip();
        return -1;
    }
    qint32 repairNbr = m_repairTexts.Match(storable);
    if (repairNbr < 0) {
        repairNbr = Repairs().AddRepair(storable, false);
        m_repairTexts.Add(repairNbr, storable);
    }
    m_repairTexts.Taken.insert(repairNbr);
    m_repairs.insert(Key(oldRepairNbr), repairNbr);
    return repairNbr;
}

bool TvdrImportMerge::AddCarValue(const QString &oldCarNbr, const QString &oldUdfNbr, const QString &value) {
    const qint32 carNbr = NewCarNbr(oldCarNbr);
    const qint32 udfNbr = NewUdfNbr(oldUdfNbr);
    if (carNbr < 0 || udfNbr < 0)
        return Skip();
    CarsUDF().SetCarValue(carNbr, udfNbr, Storable(value));
    return true;
}

bool TvdrImportMerge::AddEvent(const QString &oldCarNbr, qint32 maintNbr, qint32 dayNumber, qint32 mileage,
                               double cost) {
    const qint32 carNbr = NewCarNbr(oldCarNbr);
    if (carNbr < 0)
        return Skip();
    TvdrMaintRec rec;
    rec.SetCarNbr(carNbr);
    rec.SetMaintNbr(maintNbr);
    rec.Date = dayNumber;
    rec.SetMileage(mileage);
    rec.SetCost(cost);
    Maint().StoreEvent(rec);
    return true;
}

bool TvdrImportMerge::AddLink(const QString &oldCarNbr, qint32 maintNbr, const QString &oldRepairNbr) {
    const qint32 carNbr = NewCarNbr(oldCarNbr);
    const qint32 repairNbr = NewRepairNbr(oldRepairNbr);
    if (carNbr < 0 || repairNbr < 0 || !Maint().HasEvent(carNbr, maintNbr))
        return Skip();
    MaintRepairs().AddLink(carNbr, maintNbr, repairNbr);
    return true;
}

bool TvdrImportMerge::AddNote(const QString &oldCarNbr, qint32 maintNbr, const QString &note) {
    const qint32 carNbr = NewCarNbr(oldCarNbr);
    if (carNbr < 0 || !Maint().HasEvent(carNbr, maintNbr))
        return Skip();
    MaintNotes().AddNote(carNbr, maintNbr, Storable(note));
    return true;
}

void TvdrImportMerge::AddSortOrder(const QString &name, const QString &number, const QStringList &fields) {
    QStringList stored;
    for (const QString &text : fields) {
        TvdrSortOrderField field;
        field.Decode(text);
        if (field.IsUserDefined()) {
            const qint32 udfNbr = NewUdfNbr(QString::number(field.FieldNbr));
            if (udfNbr < 0) {
                Skip();
                continue;
            }
            field.FieldNbr = udfNbr;
        }
        stored.append(field.Encode());
    }
    // A number that does not convert reads as 0 once stored, so it is 0 now.
    const qint32 sortOrderNbr = Trim(number).toInt();
    const QString row = TvdrSortOrderRec::EncodeParts(Trim(SingleLine(Storable(name))), sortOrderNbr,
                                                      stored.join(QLatin1Char('\t')));
    SortOrder().Add(row);
}

bool TvdrImportMerge::IsPlainExtension(const QString &extension) {
    if (extension.isEmpty())
        return false;
    for (const QChar ch : extension)
        if (!(ch.isLetterOrNumber() && ch.unicode() < 128))
            return false;
    return true;
}

void TvdrImportMerge::AddPicture(const QString &folder, const QString &oldCarNbr, const QString &extension) {
    if (extension.isEmpty())
        return;
    bool ok = false;
    const qint32 old = Trim(oldCarNbr).toInt(&ok, 10);
    const qint32 carNbr = NewCarNbr(oldCarNbr);
    if (!ok || carNbr < 0 || !IsPlainExtension(extension)) {
        Skip();
        return;
    }
    QString path = folder;
    if (!path.endsWith(QLatin1Char('/')))
        path += QLatin1Char('/');
    path += TvdrPicture::StreamIdOf(old) + QLatin1Char('.') + extension;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw EvdrError(QStringLiteral("cannot read the picture %1: %2").arg(path, file.errorString()));
    TvdrPicture picture(carNbr);
    picture.SetStreamFile(Cars().StreamFile());
    picture.write(file.readAll());
    if (file.error() != QFileDevice::NoError)
        throw EvdrError(QStringLiteral("cannot read the picture %1: %2").arg(path, file.errorString()));
    picture.Save();
}
