#include "vdrReportBand.h"

TvdrReportBand::TvdrReportBand(TvdrBandKind kind, const QString &name, double height)
    : Height(height), m_kind(kind), m_name(name) {}
