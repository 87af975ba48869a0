// Export and import of the whole database, as the File menu does them.

#include "vdrCliCommands.h"
#include "vdrCliSession.h"

#include "vdrError.h"
#include "vdrExportTSV.h"
#include "vdrExportXML.h"
#include "vdrImportTSV.h"
#include "vdrImportXML.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString ExistingFolder(const QString &folder) {
    if (!QFileInfo(folder).isDir())
        throw EvdrError(QStringLiteral("%1 is not a folder").arg(folder));
    return folder;
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
    TvdrExportXML(ExistingFolder(ctx.args[1])).Execute();
}

void ExportTsv(TvdrCliContext &ctx) {
    ExpectArgs(ctx, 2, 2);
    TvdrCliSession session(ctx.args[0], TvdrCliSession::Mode::Read);
    TvdrExportTSV(ExistingFolder(ctx.args[1])).Execute();
}

void ImportXml(TvdrCliContext &ctx) {
    ExpectArgs(ctx, 2, 2);
    if (!QFileInfo(ctx.args[1]).isFile())
        throw EvdrError(QStringLiteral("%1 does not exist").arg(ctx.args[1]));
    TvdrCliSession session(ctx.args[0], TvdrCliSession::Mode::ChangeOrCreate);
    TvdrImportXML importer(QFileInfo(ctx.args[1]).absoluteFilePath());
    importer.Execute();
    ReportSkipped(ctx, importer.Merge());
}

void ImportTsv(TvdrCliContext &ctx) {
    ExpectArgs(ctx, 2, 2);
    if (!QFileInfo(ctx.args[1]).isFile())
        throw EvdrError(QStringLiteral("%1 does not exist").arg(ctx.args[1]));
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
