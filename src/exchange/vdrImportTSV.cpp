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
#include <iterator>

namespace {

bool IsBlank(QByteArrayView line) {
    return std::all_of(line.begin(), line.end(), [](char ch) { return ch == ' ' || ch == '\t'; });
}

QStringList SortFieldsOf(const QString &text) {
    if (text.trimmed().isEmpty())
        return {};
    QString fields = text;
    fields.replace(QLatin1Char('t'), QLatin1Char('T'));
    return fields.split(QLatin1Char('T'));
}

void ReadCar(const TvdrTsvRow &row, TvdrImportRows &rows) {
    TvdrImportRows::TCar car;
    car.CarNbr = row.Integer(1, "CarNbr");
    car.Year = row.Integer(2, "Year");
    car.Make = row.Text(3, "Make");
    car.Model = row.Text(4, "Model");
    car.PictureExtension = row.Text(5, "PictureExtension");
    row.CheckRowTexts({car.Make.size(), car.Model.size(), car.PictureExtension.size()});
    rows.Cars.append(car);
}

void ReadUdf(const TvdrTsvRow &row, TvdrImportRows &rows) {
    const qint32 udfNbr = row.Integer(1, "UdfNbr");
    const qint32 sortOrder = row.Integer(2, "SortOrder");
    const QString name = row.Text(3, "Name");
    row.CheckRowTexts({name.size()});
    rows.Udfs.append({udfNbr, sortOrder, name});
}

void ReadRepair(const TvdrTsvRow &row, TvdrImportRows &rows) {
    const qint32 repairNbr = row.Integer(1, "RepairNbr");
    const QString description = row.Text(2, "Description");
    row.CheckRowTexts({description.size()});
    rows.Repairs.append({repairNbr, description});
}

void ReadCarValue(const TvdrTsvRow &row, TvdrImportRows &rows) {
    const qint32 carNbr = row.Integer(1, "CarNbr");
    const qint32 udfNbr = row.Integer(2, "UdfNbr");
    const QString value = row.Text(3, "Value");
    row.CheckRowTexts({value.size()});
    rows.CarValues.append({carNbr, udfNbr, value});
}

void ReadEvent(const TvdrTsvRow &row, TvdrImportRows &rows) {
    TvdrImportRows::TEvent event;
    event.CarNbr = row.Integer(1, "CarNbr");
    event.MaintNbr = row.Integer(2, "MaintNbr");
    event.DayNumber = vdrDateTime::DayNumberOf(row.Date(3, "Date"));
    event.Mileage = row.Integer(4, "Mileage");
    event.Cost = row.Cost(5, "Cost");
    rows.Events.append(event);
}

void ReadLink(const TvdrTsvRow &row, TvdrImportRows &rows) {
    const qint32 carNbr = row.Integer(1, "CarNbr");
    const qint32 maintNbr = row.Integer(2, "MaintNbr");
    rows.Links.append({carNbr, maintNbr, row.Integer(3, "RepairNbr")});
}

void ReadNote(const TvdrTsvRow &row, TvdrImportRows &rows) {
    const qint32 carNbr = row.Integer(1, "CarNbr");
    const qint32 maintNbr = row.Integer(2, "MaintNbr");
    const QString note = row.Text(3, "Note");
    row.CheckRowTexts({TvdrMaintNotes::StoredForm(note).size()});
    rows.Notes.append({carNbr, maintNbr, note});
}

void ReadSortOrder(const TvdrTsvRow &row, TvdrImportRows &rows) {
    TvdrImportRows::TSortOrder sortOrder;
    sortOrder.Name = row.Text(1, "SortOrderName");
    sortOrder.SortOrderNbr = row.Integer(2, "SortOrderNbr");
    const QString fields = row.Text(3, "SortOrderFields");
    row.CheckRowTexts({sortOrder.Name.size(), fields.size()});
    sortOrder.Fields = SortFieldsOf(fields);
    rows.SortOrders.append(sortOrder);
}

// The eight files in the order they are read.
struct TTsvFile {
    const char *Name;
    void (*Read)(const TvdrTsvRow &row, TvdrImportRows &rows);
};
const TTsvFile kFiles[] = {{"Cars.tsv", ReadCar},        {"UDF.tsv", ReadUdf},
                           {"Repairs.tsv", ReadRepair},  {"CarsUDF.tsv", ReadCarValue},
                           {"Maint.tsv", ReadEvent},     {"MaintRepairs.tsv", ReadLink},
                           {"MaintNotes.tsv", ReadNote}, {"SortOrder.tsv", ReadSortOrder}};

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
    ReadFile(file, path, row);
}

void TvdrImportTSV::ReadFile(QIODevice &device, const QString &path,
                             const std::function<void(const QString &line, int lineNumber)> &row) {
    // Chunks of the file; a line is cut out of them where it stands, so the
    // file is never held whole and no line is copied before it is decoded.
    constexpr qsizetype kChunk = 64 * 1024;
    // A line may hold a row and CR LF; the last line needs no LF.
    constexpr qsizetype kLongest = vdrLimits::kMaxRowLength + 2;
    QByteArray chunk;
    qsizetype pos = 0;
    bool atEnd = false;
    int lineNumber = 0;
    const auto tooLong = [&] {
        return EvdrError(QStringLiteral("%1: line %2 is longer than the %3 characters a table row may hold")
                             .arg(path)
                             .arg(lineNumber)
                             .arg(vdrLimits::kMaxRowLength));
    };
    for (;;) {
        const qsizetype lineFeed = chunk.indexOf('\n', pos);
        if (lineFeed < 0 && !atEnd) {
            if (chunk.size() - pos > kLongest) {
                ++lineNumber;
                throw tooLong();
            }
            chunk.remove(0, pos);
            pos = 0;
            const qsizetype kept = chunk.size();
            chunk.resize(kept + kChunk);
            const qint64 read = device.read(chunk.data() + kept, kChunk);
            if (read < 0)
                throw EvdrError(QStringLiteral("cannot read %1: %2").arg(path, device.errorString()));
            chunk.resize(kept + qsizetype(read));
            atEnd = read == 0;
            continue;
        }
        const qsizetype end = lineFeed < 0 ? chunk.size() : lineFeed;
        if (lineFeed < 0 && pos == end)
            break;
        ++lineNumber;
        if (end - pos > (lineFeed < 0 ? kLongest : kLongest - 1))
            throw tooLong();
        char *line = chunk.data() + pos;
        const qsizetype length = std::remove(line, chunk.data() + end, '\r') - line;
        pos = lineFeed < 0 ? end : end + 1;
        // The header is never read; a blank line would otherwise become an
        // empty car or land on car 0.
        if (lineNumber == 1 || IsBlank(QByteArrayView(line, length)))
            continue;
        row(vdrCodePage::ToUnicode(QByteArray::fromRawData(line, length)), lineNumber);
    }
    if (const auto *file = qobject_cast<QFileDevice *>(&device);
        file && file->error() != QFileDevice::NoError)
        throw EvdrError(QStringLiteral("cannot read %1: %2").arg(path, file->errorString()));
}

const QStringList &TvdrImportTSV::FileNames() {
    static const QStringList names = [] {
        QStringList list;
        for (const TTsvFile &file : kFiles)
            list.append(QLatin1String(file.Name));
        return list;
    }();
    return names;
}

void TvdrImportTSV::ReadTable(const QString &name, QIODevice &device, const QString &path,
                              TvdrImportRows &rows) {
    const auto file = std::find_if(std::begin(kFiles), std::end(kFiles),
                                   [&name](const TTsvFile &f) { return name == QLatin1String(f.Name); });
    if (file == std::end(kFiles))
        throw EvdrError(QStringLiteral("%1 is none of the files of a TSV export").arg(name));
    // Rows numbered from 0 like the XML export's rows.
    int index = 0;
    ReadFile(device, path, [&](const QString &line, int lineNumber) {
        file->Read(TvdrTsvRow(path, line, index++, lineNumber), rows);
    });
}

void TvdrImportTSV::Execute() {
    // Every file is opened before anything is merged, so a set that lacks
    // one fails at once; each is read when its table's turn comes.
    constexpr int kCount = int(std::size(kFiles));
    static_assert(kCount == int(TvdrImportMerge::TTable::SortOrders) + 1);
    QFile files[kCount];
    for (int i = 0; i < kCount; ++i)
        vdrRegularFile::Open(files[i], m_folder + QLatin1String(kFiles[i].Name));
    m_merge.Execute(m_folder, [&](TvdrImportMerge::TTable table, TvdrImportRows &rows) {
        const int i = int(table);
        const QString name = QLatin1String(kFiles[i].Name);
        ReadTable(name, files[i], m_folder + name, rows);
    });
}
