// Export and import of the whole database, as the File menu does them.

#include "vdrCliCommands.h"
#include "vdrCliSession.h"

#include "vdrError.h"
#include "vdrExportTSV.h"
#include "vdrExportXML.h"
#include "vdrImportTSV.h"
#include "vdrImportXML.h"
#include "vdrRegularFile.h"

#include <QFile>
#include <QFileInfo>

namespace {

// Checked before the database is opened, which may create it.
void CheckImportFile(const QString &fileName) {
    QFile file;
    vdrRegularFile::Open(file, fileName);
}

// Everything else is written; the exit code still says the backup is not
// whole.
void Export(TvdrCliContext &ctx, TvdrExport &&exporter) {
    exporter.Execute();
    for (const QString &line : exporter.SkippedPictureLines())
        WriteLine(ctx.err, line);
    const qsizetype skipped = exporter.SkippedPictures().size();
    if (skipped > 0)
        throw EvdrError(skipped == 1 ? QStringLiteral("1 picture was not exported")
                                     : QStringLiteral("%1 pictures were not exported").arg(skipped));
}

void ReportSkipped(TvdrCliContext &ctx, const TvdrImportMerge &merge) {
    if (merge.Skipped() > 0)
        WriteLine(ctx.err, QStringLiteral("%1 rows skipped: they name cars, fields, descriptions or events "
                                          "the file does not hold, or a picture file name that is not safe")
                               .arg(merge.Skipped()));
}

void ExportXml(TvdrCliContext &ctx) {
    ExpectArgs(ctx, 2, 2);
    TvdrCliSession session(ctx.args[0], TvdrCliSession::Mode::Read);
    Export(ctx, TvdrExportXML(ctx.args[1]));
}

void ExportTsv(TvdrCliContext &ctx) {
    ExpectArgs(ctx, 2, 2);
    TvdrCliSession session(ctx.args[0], TvdrCliSession::Mode::Read);
    Export(ctx, TvdrExportTSV(ctx.args[1]));
}

void ImportXml(TvdrCliContext &ctx) {
    ExpectArgs(ctx, 2, 2);
    CheckImportFile(ctx.args[1]);
    TvdrCliSession session(ctx.args[0], TvdrCliSession::Mode::ChangeOrCreate);
    TvdrImportXML importer(QFileInfo(ctx.args[1]).absoluteFilePath());
    importer.Execute();
    ReportSkipped(ctx, importer.Merge());
}

void ImportTsv(TvdrCliContext &ctx) {
    ExpectArgs(ctx, 2, 2);
    CheckImportFile(ctx.args[1]);
    TvdrCliSession session(ctx.args[0], TvdrCliSession::Mode::ChangeOrCreate);
    TvdrImportTSV importer(QFileInfo(ctx.args[1]).absolutePath() + QLatin1Char('/'));
    importer.Execute();
    ReportSkipped(ctx, importer.Merge());
}

} // namespace

const std::vector<TvdrCliCommand> &ExchangeCommands() {
    static const std::vector<TvdrCliCommand> commands = {
        {"export-xml", "DB DIR", ExportXml},
        {"export-tsv", "DB DIR", ExportTsv},
        {"import-xml", "DB FILE", ImportXml},
        {"import-tsv", "DB FILE (any file of the set; its folder is read)", ImportTsv},
    };
    return commands;
}
