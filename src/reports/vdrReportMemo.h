#pragma once

#include "vdrReportControl.h"

#include <QStringList>

// Lines of text, left-aligned, each broken at blanks to fit the memo's width.
// The memo reaches as far down as its lines do and stretches its band; an
// empty memo prints nothing.
class TvdrReportMemo : public TvdrReportControl {
public:
    using TvdrReportControl::TvdrReportControl;

    QStringList Lines;
    bool Bold = false;
    bool WordWrap = true; // false: lines wider than the memo run out of it

    double Arrange(const TvdrArrangeContext &context, std::vector<TvdrPlacedItem> &items) const override;
    bool Stretches() const override { return true; }
};
