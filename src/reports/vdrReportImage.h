#pragma once

#include "vdrReportControl.h"

#include <QImage>

// A picture, one picture pixel to one report pixel. With AutoSize the
// control takes the picture's size; otherwise the picture is centred in the
// control's box. A picture larger than its room (the rest of the band's
// width, the page below the page header) is scaled down to fit it,
// proportions kept, so it never has to be cut. The control stretches its
// band to hold the picture; a null picture prints nothing.
class TvdrReportImage : public TvdrReportControl {
public:
    using TvdrReportControl::TvdrReportControl;

    QImage Picture;
    bool AutoSize = true;

    double Arrange(const TvdrArrangeContext &context, std::vector<TvdrPlacedItem> &items) const override;
    bool Stretches() const override { return true; }
};
