#include "vdrReportPaint.h"

#include "vdrError.h"
#include "vdrReport.h"
#include "vdrReportLayout.h"

#include <QPagedPaintDevice>
#include <QPainter>

namespace {

// A picture is embedded at no more than this many dots per inch of paper.
constexpr double kImageDotsPerInch = 300;

void PaintImage(QPainter &painter, const TvdrPlacedItem &item) {
    const QSize most = (item.Rect.size() * (kImageDotsPerInch / TvdrReport::kDotsPerInch)).toSize();
    if (item.Image.width() > most.width() && item.Image.height() > most.height())
        painter.drawImage(item.Rect, item.Image.scaled(most, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    else
        painter.drawImage(item.Rect, item.Image);
}

} // namespace

void PrepareReportDevice(const TvdrReport &report, QPagedPaintDevice &device) {
    device.setPageLayout(report.PageLayout());
}

void PaintReport(TvdrReport &report, QPagedPaintDevice &device) {
    PrepareReportDevice(report, device);
    PaintReportLayout(TvdrReportLayout(report), device);
}

void PaintReportLayout(const TvdrReportLayout &layout, QPagedPaintDevice &device) {
    QPainter painter;
    if (!painter.begin(&device))
        throw EvdrError(QStringLiteral("The report \"%1\" cannot be printed: the device does not start")
                            .arg(layout.Title()));
    const double scaleX = device.logicalDpiX() / TvdrReport::kDotsPerInch;
    const double scaleY = device.logicalDpiY() / TvdrReport::kDotsPerInch;
    // The painter starts at the device's paintable corner, which a printer
    // may have moved for margins of its own.
    const QRectF paintable = device.pageLayout().paintRectPixels(device.logicalDpiX());
    const QPointF origin(TvdrReport::kMargin * scaleX - paintable.left(),
                         TvdrReport::kMargin * scaleY - paintable.top());
    bool first = true;
    for (const TvdrReportPage &page : layout.Pages()) {
        if (!first && !device.newPage())
            throw EvdrError(QStringLiteral("The report \"%1\" cannot be printed: page %2 does not start")
                                .arg(layout.Title())
                                .arg(page.Number));
        first = false;
        painter.resetTransform();
        painter.translate(origin);
        painter.scale(scaleX, scaleY);
        PaintReportPage(painter, page);
    }
    if (!painter.end())
        throw EvdrError(QStringLiteral("The report \"%1\" cannot be printed: the device does not finish")
                            .arg(layout.Title()));
}

void PaintReportPage(QPainter &painter, const TvdrReportPage &page) {
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setPen(QPen(Qt::black, 1.0, Qt::SolidLine, Qt::FlatCap));
    for (const TvdrPlacedBand &band : page.Bands) {
        for (const TvdrPlacedItem &item : band.Items) {
            switch (item.Kind) {
            case TvdrPlacedItem::TKind::Text:
                painter.setFont(item.Font);
                painter.drawText(item.Rect,
                                 int(item.Align | Qt::AlignTop) | Qt::TextSingleLine | Qt::TextDontClip,
                                 item.Text);
                break;
            case TvdrPlacedItem::TKind::Line: {
                const double y = item.Rect.center().y();
                painter.drawLine(QPointF(item.Rect.left(), y), QPointF(item.Rect.right(), y));
                break;
            }
            case TvdrPlacedItem::TKind::Image:
                PaintImage(painter, item);
                break;
            }
        }
    }
    painter.restore();
}
