#include "vdrReport.h"

#include "vdrReportMetrics.h"

#include <QPageSize>

TvdrReport::TvdrReport(QPageLayout::Orientation orientation)
    : Font(TvdrReportMetrics::DefaultFont()), m_orientation(orientation) {}

TvdrReport::~TvdrReport() = default;

QSizeF TvdrReport::PaperSize() const {
    const QSizeF letter(8.5 * kDotsPerInch, 11 * kDotsPerInch);
    return m_orientation == QPageLayout::Landscape ? letter.transposed() : letter;
}

double TvdrReport::PageWidth() const {
    return PaperSize().width() - 2 * kMargin;
}

double TvdrReport::PageHeight() const {
    return PaperSize().height() - 2 * kMargin;
}

QPageLayout TvdrReport::PageLayout() const {
    const double margin = kMargin / kDotsPerInch * 72;
    return QPageLayout(QPageSize(QPageSize::Letter), m_orientation, QMarginsF(margin, margin, margin, margin),
                       QPageLayout::Point);
}

TvdrReportBand &TvdrReport::SetPageHeader(const QString &name, double height) {
    m_pageHeader = std::make_unique<TvdrReportBand>(TvdrBandKind::PageHeader, name, height);
    return *m_pageHeader;
}

TvdrReportBand &TvdrReport::SetPageHeaderChild(const QString &name, double height) {
    m_pageHeaderChild = std::make_unique<TvdrReportBand>(TvdrBandKind::Child, name, height);
    return *m_pageHeaderChild;
}

TvdrReportBand &TvdrReport::AddDetail(const QString &name, double height) {
    m_details.push_back(std::make_unique<TvdrReportBand>(TvdrBandKind::Detail, name, height));
    return *m_details.back();
}

TvdrReportBand &TvdrReport::SetSummary(const QString &name, double height) {
    m_summary = std::make_unique<TvdrReportBand>(TvdrBandKind::Summary, name, height);
    return *m_summary;
}
