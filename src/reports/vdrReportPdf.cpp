#include "vdrReportPdf.h"

#include "vdrError.h"
#include "vdrReportLayout.h"
#include "vdrReportPaint.h"

#include <QPdfWriter>
#include <QSaveFile>

void WriteReportPdf(TvdrReport &report, const QString &fileName) {
    WriteReportLayoutPdf(TvdrReportLayout(report), fileName);
}

void WriteReportLayoutPdf(const TvdrReportLayout &layout, const QString &fileName) {
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw EvdrError(
            QStringLiteral("The report cannot be written to %1: %2").arg(fileName, file.errorString()));
    {
        QPdfWriter writer(&file);
        writer.setTitle(layout.Title());
        writer.setCreator(QStringLiteral("Vandor"));
        writer.setPageLayout(layout.PageLayout());
        PaintReportLayout(layout, writer);
    }
    if (!file.commit())
        throw EvdrError(
            QStringLiteral("The report cannot be written to %1: %2").arg(fileName, file.errorString()));
}
