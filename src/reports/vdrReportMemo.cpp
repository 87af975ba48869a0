#include "vdrReportMemo.h"

#include "vdrReportMetrics.h"

double TvdrReportMemo::Arrange(const TvdrArrangeContext &context, std::vector<TvdrPlacedItem> &items) const {
    QFont font = context.Font;
    font.setBold(Bold);
    const double spacing = context.Metrics.LineSpacing(font);
    const double height = context.Metrics.Height(font);
    double y = Top;
    for (const QString &line : Lines) {
        const QStringList parts = WordWrap ? context.Metrics.Wrap(font, line, Width) : QStringList{line};
        for (const QString &part : parts) {
            TvdrPlacedItem item;
            item.Control = Name();
            item.Font = font;
            item.Text = part;
            item.Rect = QRectF(Left, y, Width, height);
            items.push_back(std::move(item));
            y += spacing;
        }
    }
    return y - Top;
}
