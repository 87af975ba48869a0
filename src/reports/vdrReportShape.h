#pragma once

#include "vdrReportControl.h"

// A horizontal line one pixel thick across the middle of the control's box.
class TvdrReportShape : public TvdrReportControl {
public:
    using TvdrReportControl::TvdrReportControl;

    double Arrange(const TvdrArrangeContext &context, std::vector<TvdrPlacedItem> &items) const override;
};
