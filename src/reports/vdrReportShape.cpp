#include "vdrReportShape.h"

double TvdrReportShape::Arrange(const TvdrArrangeContext &, std::vector<TvdrPlacedItem> &items) const {
    TvdrPlacedItem item;
    item.Kind = TvdrPlacedItem::TKind::Line;
    item.Control = Name();
    item.Rect = QRectF(Left, Top, Width, Height);
    items.push_back(std::move(item));
    return Height;
}
