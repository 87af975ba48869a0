#include "vdrReportLabel.h"

#include "vdrReportMetrics.h"

TvdrReportLabel::TvdrReportLabel(const QString &name, double left, double top)
    : TvdrReportControl(name, left, top, 0, 0) {}

TvdrReportLabel::TvdrReportLabel(const QString &name, double left, double top, double width, TAlign align)
    : TvdrReportControl(name, left, top, width, 0), Align(align), AutoSize(false) {}

std::unique_ptr<TvdrReportLabel> TvdrReportLabel::RightEdged(const QString &name, double right, double top) {
    auto label = std::make_unique<TvdrReportLabel>(name, right, top);
    label->Align = TAlign::Right;
    return label;
}

double TvdrReportLabel::Arrange(const TvdrArrangeContext &context, std::vector<TvdrPlacedItem> &items) const {
    TvdrPlacedItem item;
    item.Control = Name();
    item.Font = context.Font;
    item.Font.setBold(Bold);
    item.Text = Caption;
    const double height = context.Metrics.Height(item.Font);
    double left = Left;
    double width = Width;
    if (AutoSize) {
        width = context.Metrics.Width(item.Font, Caption);
        if (Align == TAlign::Right)
            left = Left + Width - width;
        else if (Align == TAlign::Centre)
            left = Left + (Width - width) / 2;
    }
    item.Align = Align == TAlign::Right    ? Qt::AlignRight
                 : Align == TAlign::Centre ? Qt::AlignHCenter
                                           : Qt::AlignLeft;
    item.Rect = QRectF(left, Top, width, height);
    items.push_back(std::move(item));
    return height;
}
