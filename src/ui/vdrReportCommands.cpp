#include "vdrReportCommands.h"

#include "kvxLang.h"
#include "vdrApplication.h"
#include "vdrIcons.h"
#include "vdrLog.h"
#include "vdrModal.h"
#include "vdrReport.h"
#include "vdrReportPaint.h"
#include "vdrReportPdf.h"
#include "vdrWindowRoutines.h"

#include <QDir>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QToolBar>

namespace vdrReportCommands {

namespace {

int &HavePrinterOverride() {
    static int have = -1;
    return have;
}

// A report that fails while printing ends quietly: the log keeps why.
void PaintLogged(TvdrReport &report, QPrinter &printer) {
    try {
        PaintReport(report, printer);
    } catch (...) {
        const QString message = CurrentErrorMessage();
        try {
            Log().Write(QStringLiteral("report not printed: ") + message);
        } catch (...) {
        }
    }
}

QString SuggestedName(const TvdrReport &report) {
    QString name = report.Title.isEmpty() ? QStringLiteral("Vandor report") : report.Title;
    name.replace(QLatin1Char('/'), QLatin1Char('-'));
    return QDir::home().filePath(name + QStringLiteral(".pdf"));
}

} // namespace

bool HavePrinter() {
    if (HavePrinterOverride() >= 0)
        return HavePrinterOverride() == 1;
    return !QPrinterInfo::defaultPrinter().isNull() || !QPrinterInfo::availablePrinters().isEmpty();
}

void SetHavePrinter(int have) {
    HavePrinterOverride() = have;
}

void Preview(TvdrReport &report, QWidget *parent) {
    QPrinter printer(QPrinter::HighResolution);
    printer.setDocName(report.Title);
    PrepareReportDevice(report, printer);
    QPrintPreviewDialog dialog(&printer, parent);
    dialog.setObjectName(QStringLiteral("frmPreview"));
    dialog.setWindowTitle(report.Title);
    dialog.resize(900, 760);
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                     [&report](QPrinter *target) { PaintLogged(report, *target); });
    if (auto *tools = dialog.findChild<QToolBar *>()) {
        tools->addSeparator();
        QAction *save = tools->addAction(SvgIcon(QStringLiteral(":/icons/btn-save-pdf.svg")),
                                         Lang().GetText(QStringLiteral("CP-SaveReportPdf")));
        save->setObjectName(QStringLiteral("actSavePdf"));
        QObject::connect(save, &QAction::triggered, &dialog, [&report, &dialog] {
            RunGuarded([&report, &dialog] {
                QString written;
                SaveAsPdf(report, &dialog, written);
            });
        });
    }
    RunModal(dialog);
}

void Print(TvdrReport &report, QWidget *parent) {
    if (!HavePrinter()) {
        QString written;
        if (!AnsweredNo(Lang().GetText(QStringLiteral("QM-NoPrinter"))))
            SaveAsPdf(report, parent, written);
        return;
    }
    QPrinter printer(QPrinterInfo::defaultPrinter(), QPrinter::HighResolution);
    printer.setDocName(report.Title);
    PaintLogged(report, printer);
}

bool SaveAsPdf(TvdrReport &report, QWidget *, QString &written) {
    const QString fileName = SaveFile(Lang().GetText(QStringLiteral("CP-SaveReportPdf")),
                                      QStringLiteral("PDF files (*.pdf)|*.pdf"), SuggestedName(report));
    if (fileName.isEmpty())
        return false;
    written = fileName.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive)
                  ? fileName
                  : fileName + QStringLiteral(".pdf");
    WriteReportPdf(report, written);
    return true;
}

} // namespace vdrReportCommands
