#include "vdrExchangeCommands.h"

#include "kvxLang.h"
#include "vdrBackgroundWork.h"
#include "vdrCars.h"
#include "vdrExportTSV.h"
#include "vdrExportXML.h"
#include "vdrImportTSV.h"
#include "vdrImportXML.h"
#include "vdrMaint.h"
#include "vdrRepairs.h"
#include "vdrWindowRoutines.h"

#include <QDir>
#include <QFileInfo>

namespace vdrExchangeCommands {

namespace {

struct TCounts {
    int CarRows = Cars().Count();
    int EventRows = Maint().Count();
    int RepairRows = Repairs().Count();
};

QString Sentence(const char *key, const TCounts &counts, const QString &where) {
    return Lang().FormatText(QLatin1String(key), {counts.CarRows, counts.EventRows, counts.RepairRows,
                                                  QDir::toNativeSeparators(where)});
}

template <class TExport>
bool Export(QWidget *parent, const QString &caption, const QString &shown, QString &done) {
    const QString folder = BrowseFolder(caption, QString());
    if (folder.isEmpty())
        return false;
    TExport exporter(folder);
    RunInBackground(parent, Lang().GetText(QStringLiteral("IM-Exporting")),
                    [&exporter] { exporter.Execute(); });
    done = Sentence("IM-Exported", TCounts(), QDir(folder).filePath(shown));
    if (!exporter.SkippedPictures().isEmpty()) {
        QString warning = Lang().GetText(QStringLiteral("WM-PicturesNotExported"));
        for (const TvdrSkippedPicture &skipped : exporter.SkippedPictures())
            warning += QStringLiteral("\r\n\t%1 (%2)").arg(skipped.Car, skipped.Reason);
        ShowWarning(warning);
    }
    return true;
}

template <class TImport>
bool Import(QWidget *parent, const QString &title, const QString &filter, QString &done,
            const std::function<QString(const QString &)> &source) {
    const QString fileName = OpenFile(title, filter);
    if (fileName.isEmpty())
        return false;
    const TCounts before;
    RunInBackground(parent, Lang().GetText(QStringLiteral("IM-Importing")),
                    [&] { TImport(source(fileName)).Execute(); });
    const TCounts after;
    done = Sentence("IM-Imported",
                    {after.CarRows - before.CarRows, after.EventRows - before.EventRows,
                     after.RepairRows - before.RepairRows},
                    fileName);
    return true;
}

} // namespace

bool ExportXML(QWidget *parent, QString &done) {
    return Export<TvdrExportXML>(parent, QStringLiteral("Select location for file"),
                                 QStringLiteral("VandorDB.xml"), done);
}

bool ExportTSV(QWidget *parent, QString &done) {
    return Export<TvdrExportTSV>(parent, QStringLiteral("Select location for files"), QString(), done);
}

bool ImportXML(QWidget *parent, QString &done) {
    return Import<TvdrImportXML>(parent, QStringLiteral("Select XML file to import"),
                                 QStringLiteral("XML files (*.xml)|*.xml"), done,
                                 [](const QString &fileName) { return fileName; });
}

bool ImportTSV(QWidget *parent, QString &done) {
    // Only the folder counts: the eight files are read by their own names.
    return Import<TvdrImportTSV>(
        parent, QStringLiteral("Select TSV file to import"), QStringLiteral("TSV files (*.tsv)|*.tsv"), done,
        [](const QString &fileName) { return QFileInfo(fileName).absolutePath() + QLatin1Char('/'); });
}

} // namespace vdrExchangeCommands
