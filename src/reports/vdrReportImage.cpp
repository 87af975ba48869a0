#include "vdrReportImage.h"

#include <algorithm>

double TvdrReportImage::Arrange(const TvdrArrangeContext &context, std::vector<TvdrPlacedItem> &items) const {
    if (Picture.isNull())
        return 0;
    const QSizeF room =
        AutoSize ? QSizeF(context.BandWidth - Left, context.BodyHeight - Top) : QSizeF(Width, Height);
    const QSizeF picture = Picture.size();
    const double scale =
        std::max(0.0, std::min({1.0, room.width() / picture.width(), room.height() / picture.height()}));
    const QSizeF size = picture * scale;
    TvdrPlacedItem item;
    item.Kind = TvdrPlacedItem::TKind::Image;
    item.Control = Name();
    item.Image = Picture;
    if (AutoSize) {
        item.Rect = QRectF(QPointF(Left, Top), size);
    } else {
        item.Rect =
            QRectF(QPointF(Left + (Width - size.width()) / 2, Top + (Height - size.height()) / 2), size);
    }
    items.push_back(std::move(item));
    return AutoSize ? size.height() : Height;
}
