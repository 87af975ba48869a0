#pragma once

#include "vdrReportPage.h"

#include <QString>

#include <vector>

class TvdrReportMetrics;

// What a control needs to know while its band is laid out.
struct TvdrArrangeContext {
    TvdrReportMetrics &Metrics;
    QFont Font;            // the report's font
    double BandWidth = 0;  // the printable width of the page
    double BodyHeight = 0; // the room below the page header on a page
};

// A control of a band: position and size in pixels at 96 per inch relative to
// the band's top left corner. The fields are the control's properties, which
// a report may change in its hooks before the band is laid out.
class TvdrReportControl {
public:
    TvdrReportControl(const QString &name, double left, double top, double width, double height);
    virtual ~TvdrReportControl();
    TvdrReportControl(const TvdrReportControl &) = delete;
    TvdrReportControl &operator=(const TvdrReportControl &) = delete;

    const QString &Name() const { return m_name; }

    double Left;
    double Top;
    double Width;
    double Height;

    // Appends what the control prints, relative to its band, and returns how
    // far below its top it reaches.
    virtual double Arrange(const TvdrArrangeContext &context, std::vector<TvdrPlacedItem> &items) const = 0;
    // Whether its band grows when the control reaches below its Height.
    virtual bool Stretches() const { return false; }

private:
    QString m_name;
};
