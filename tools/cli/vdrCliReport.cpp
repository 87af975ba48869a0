// Reports written as PDF, through the same report definitions the windows
// print and preview.

#include "vdrCliCommands.h"
#include "vdrCliOptions.h"
#include "vdrCliSession.h"

#include "qrCar.h"
#include "qrMaint.h"
#include "qrPicture.h"
#include "qrRepair.h"
#include "vdrCars.h"
#include "vdrError.h"
#include "vdrMaint.h"
#include "vdrMaintFilter.h"
#include "vdrMaintSortedList.h"
#include "vdrRepairs.h"
#include "vdrReportPdf.h"

#include <QGuiApplication>

#include <memory>

namespace {

// Reports measure text, which needs a QGuiApplication: the tool's own, or
// one made for the command when it runs inside a program without any.
class TvdrCliGuiApplication {
public:
    TvdrCliGuiApplication() {
        if (!QCoreApplication::instance())
            m_app = std::make_unique<QGuiApplication>(m_argc, m_argv);
        else if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
            throw EvdrError("reports need a QGuiApplication");
    }

private:
    char m_name[11] = "vandor-cli";
    char m_option[10] = "-platform";
    char m_platform[10] = "offscreen";
    char *m_argv[4] = {m_name, m_option, m_platform, nullptr};
    int m_argc = 3;
    std::unique_ptr<QGuiApplication> m_app;
};

void MaintReport(const TvdrCliContext &ctx) {
    const TvdrCliOptions options(ctx.args, 4, TvdrCliEventView::ValueOptions(), TvdrCliEventView::Flags());
    ParseNumber(ctx.args[2], "CARNBR");
    const TvdrCliEventView view(options);
    TvdrCliGuiApplication app;
    TvdrCliSession session(ctx.args[0], TvdrCliSession::Mode::Read);
    const qint32 carNbr = ExistingCar(ctx.args[2]);
    const std::unique_ptr<TvdrMaintSortedList> list =
        Maint().SortedList(carNbr, view.SortColumn, view.SortDirection);
    // Each event's repairs ascending, as the events command lists them.
    WriteReportPdf(*CreateMaintReport(carNbr, *list, 0, *view.Filter), ctx.args[3]);
}

void CarReport(const TvdrCliContext &ctx, bool picture) {
    ExpectArgs(ctx, 4, 4);
    ParseNumber(ctx.args[2], "CARNBR");
    TvdrCliGuiApplication app;
    TvdrCliSession session(ctx.args[0], TvdrCliSession::Mode::Read);
    const qint32 carNbr = ExistingCar(ctx.args[2]);
    if (picture)
        WriteReportPdf(*CreatePictureReport(carNbr, Cars().StreamFile()), ctx.args[3]);
    else
        WriteReportPdf(*CreateCarReport(carNbr), ctx.args[3]);
}

void RepairReport(const TvdrCliContext &ctx) {
    const TvdrCliOptions options(ctx.args, 3, {}, {QStringLiteral("--desc")});
    TvdrCliGuiApplication app;
    TvdrCliSession session(ctx.args[0], TvdrCliSession::Mode::Read);
    Repairs().BuildOrder(options.Has(QStringLiteral("--desc")));
    WriteReportPdf(*CreateRepairReport(), ctx.args[2]);
}

void Report(TvdrCliContext &ctx) {
    ExpectAtLeast(ctx, 3);
    const QString &kind = ctx.args[1];
    if (kind == QLatin1String("repairs"))
        return RepairReport(ctx);
    ExpectAtLeast(ctx, 4);
    if (kind == QLatin1String("maint"))
        return MaintReport(ctx);
    if (kind == QLatin1String("car") || kind == QLatin1String("picture"))
        return CarReport(ctx, kind == QLatin1String("picture"));
    throw EvdrUsage(QStringLiteral("KIND is maint, car, picture or repairs, not %1").arg(kind).toStdString());
}

} // namespace

const std::vector<TvdrCliCommand> &ReportCommands() {
    static const std::vector<TvdrCliCommand> commands = {
        {"report",
         "DB maint CARNBR OUT.pdf " VANDOR_CLI_EVENT_VIEW_USAGE
         " | DB car CARNBR OUT.pdf | DB picture CARNBR OUT.pdf "
         "| DB repairs OUT.pdf [--desc]",
         Report},
    };
    return commands;
}
