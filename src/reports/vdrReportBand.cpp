#include "vdrReportBand.h"

TvdrReportBand::TvdrReportBand(TvdrBandKind kind, const QString &name, double height)
    : Height(height), m_kind(kind), m_name(name) {}

TvdrReportControl *TvdrReportBand::Control(const QString &name) const {
    for (const auto &control : m_controls)
        if (control->Name() == name)
            return control.get();
    return nullptr;
}
