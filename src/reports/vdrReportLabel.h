#pragma once

#include "vdrReportControl.h"

#include <memory>

// One line of text. With AutoSize its width is the text's: a left-aligned
// label keeps its left edge, a right-aligned one its right edge (Left +
// Width) and a centred one its centre. Without AutoSize the text is aligned
// in the fixed width and may run out of it rather than be cut.
class TvdrReportLabel : public TvdrReportControl {
public:
    enum class TAlign { Left, Right, Centre };

    // Left-aligned at `left`, as wide as its text.
    TvdrReportLabel(const QString &name, double left, double top);
    // Aligned in a fixed width.
    TvdrReportLabel(const QString &name, double left, double top, double width, TAlign align);
    // Right-aligned with its right edge at `right`, as wide as its text.
    static std::unique_ptr<TvdrReportLabel> RightEdged(const QString &name, double right, double top);

    QString Caption;
    TAlign Align = TAlign::Left;
    bool AutoSize = true;
    bool Bold = false;

    double Arrange(const TvdrArrangeContext &context, std::vector<TvdrPlacedItem> &items) const override;
};
