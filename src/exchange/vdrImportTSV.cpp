#include "vdrImportTSV.h"

#include "vdrCodePage.h"
#include "vdrDateTime.h"
#include "vdrError.h"
#include "vdrLimits.h"
#include "vdrMaintNotes.h"
#include "vdrRegularFile.h"
#include "vdrTsvRow.h"

#include <QFile>

#include <algorithm>

namespace {

bool IsBlank(const QByteArray &line) {
    return std::all_of(line.begin(), line.end(), [](char ch) { return ch == ' ' || ch == '\t'; });
}

QStringList SortFieldsOf(const QString &text) {
    if (text.trimmed().isEmpty())
        return {};
    QString fields = text;
    fields.replace(QLatin1Char('t'), QLatin1Char('T'));
    return fields.split(QLatin1Char('T'));
}

} // namespace

TvdrImportTSV::TvdrImportTSV(const QString &folder) : m_folder(folder) {
    if (!m_folder.endsWith(QLatin1Char('/')))
        m_folder += QLatin1Char('/');
}

void TvdrImportTSV::ReadFile(const QString &name,
                             const std::function<void(const QString &line, int lineNumber)> &row) const {
    const QString path = m_folder + name;
    QFile file;
    vdrRegularFile::Open(file, path);
    int lineNumber = 0;
    while (!file.atEnd()) {
        // The line break and a CR before it come on top of a row's length.
        QByteArray line = file.readLine(vdrLimits::kMaxRowLength + 3);
        if (file.error() != QFileDevice::NoError)
            break;
        ++lineNumber;
        if (!line.endsWith('\n') && !file.atEnd())
            throw EvdrError(
                QStringLiteral("%1: line %2 is longer than the %3 characters a table row may hold")
                    .arg(path)
                    .arg(lineNumber)
                    .arg(vdrLimits::kMaxRowLength));
        if (line.endsWith('\n'))
            line.chop(1);
        line.erase(std::remove(line.begin(), line.end(), '\r'), line.end());
        // The header is never read; a blank line would otherwise become an
        // empty car or land on car 0.
        if (lineNumber == 1 || IsBlank(line))
            continue;
        row(vdrCodePage::ToUnicode(line), lineNumber);
    }
    if (file.error() != QFileDevice::NoError)
        throw EvdrError(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
}

TvdrImportRows TvdrImportTSV::ReadRows() const {
    TvdrImportRows rows;
    rows.PictureFolder = m_folder;
    // Each file's rows in turn, numbered from 0 like the XML export's rows.
    const auto read = [this](const char *name, const std::function<void(const TvdrTsvRow &row)> &take) {
        const QString file = QString::fromLatin1(name);
        int index = 0;
        ReadFile(file, [&](const QString &line, int lineNumber) {
            take(TvdrTsvRow(m_folder + file, line, index++, lineNumber));
        });
    };
    read("Cars.tsv", [&rows](const TvdrTsvRow &row) {
        TvdrImportRows::TCar car;
        car.CarNbr = row.Integer(1, "CarNbr");
        car.Year = row.Integer(2, "Year");
        car.Make = row.Text(3, "Make");
        car.Model = row.Text(4, "Model");
        car.PictureExtension = row.Text(5, "PictureExtension");
        row.CheckRowTexts({car.Make.size(), car.Model.size(), car.PictureExtension.size()});
        rows.Cars.append(car);
    });
    read("UDF.tsv", [&rows](const TvdrTsvRow &row) {
        const qint32 udfNbr = row.Integer(1, "UdfNbr");
        const qint32 sortOrder = row.Integer(2, "SortOrder");
        const QString name = row.Text(3, "Name");
        row.CheckRowTexts({name.size()});
        rows.Udfs.append({udfNbr, sortOrder, name});
    });
    read("Repairs.tsv", [&rows](const TvdrTsvRow &row) {
        const qint32 repairNbr = row.Integer(1, "RepairNbr");
        const QString description = row.Text(2, "Description");
        row.CheckRowTexts({description.size()});
        rows.Repairs.append({repairNbr, description});
    });
    read("CarsUDF.tsv", [&rows](const TvdrTsvRow &row) {
        const qint32 carNbr = row.Integer(1, "CarNbr");
        const qint32 udfNbr = row.Integer(2, "UdfNbr");
        const QString value = row.Text(3, "Value");
        row.CheckRowTexts({value.size()});
        rows.CarValues.append({carNbr, udfNbr, value});
    });
    read("Maint.tsv", [&rows](const TvdrTsvRow &row) {
        TvdrImportRows::TEvent event;
        event.CarNbr = row.Integer(1, "CarNbr");
        event.MaintNbr = row.Integer(2, "MaintNbr");
        event.DayNumber = vdrDateTime::DayNumberOf(row.Date(3, "Date"));
        event.Mileage = row.Integer(4, "Mileage");
        event.Cost = row.Cost(5, "Cost");
        rows.Events.append(event);
    });
    read("MaintRepairs.tsv", [&rows](const TvdrTsvRow &row) {
        const qint32 carNbr = row.Integer(1, "CarNbr");
        const qint32 maintNbr = row.Integer(2, "MaintNbr");
        rows.Links.append({carNbr, maintNbr, row.Integer(3, "RepairNbr")});
    });
    read("MaintNotes.tsv", [&rows](const TvdrTsvRow &row) {
        const qint32 carNbr = row.Integer(1, "CarNbr");
        const qint32 maintNbr = row.Integer(2, "MaintNbr");
        const QString note = row.Text(3, "Note");
        row.CheckRowTexts({TvdrMaintNotes::StoredForm(note).size()});
        rows.Notes.append({carNbr, maintNbr, note});
    });
    read("SortOrder.tsv", [&rows](const TvdrTsvRow &row) {
        TvdrImportRows::TSortOrder sortOrder;
        sortOrder.Name = row.Text(1, "SortOrderName");
        sortOrder.SortOrderNbr = row.Integer(2, "SortOrderNbr");
        const QString fields = row.Text(3, "SortOrderFields");
        row.CheckRowTexts({sortOrder.Name.size(), fields.size()});
        sortOrder.Fields = SortFieldsOf(fields);
        rows.SortOrders.append(sortOrder);
    });
    return rows;
}

void TvdrImportTSV::Execute() {
    m_merge.Execute(ReadRows());
}
