#include "vdrReportControl.h"

TvdrReportControl::TvdrReportControl(const QString &name, double left, double top, double width,
                                     double height)
    : Left(left), Top(top), Width(width), Height(height), m_name(name) {}

TvdrReportControl::~TvdrReportControl() = default;
