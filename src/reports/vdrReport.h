#pragma once

#include "vdrReportBand.h"

#include <QFont>
#include <QPageLayout>
#include <QString>

#include <memory>
#include <vector>

// A banded report on Letter paper with half-inch margins, in pixels at 96
// per inch. Bands print in this order: on every page the page header and its
// child; then each detail band over its items, one after the other; then the
// summary. The report owns its bands. TvdrReportLayout lays it out,
// PaintReport and WriteReportPdf print it.
class TvdrReport {
public:
    static constexpr double kDotsPerInch = 96;
    static constexpr double kMargin = 48; // half an inch

    explicit TvdrReport(QPageLayout::Orientation orientation = QPageLayout::Portrait);
    virtual ~TvdrReport();
    TvdrReport(const TvdrReport &) = delete;
    TvdrReport &operator=(const TvdrReport &) = delete;

    QPageLayout::Orientation Orientation() const { return m_orientation; }
    // The whole sheet and the printable area inside the margins.
    QSizeF PaperSize() const;
    double PageWidth() const;
    double PageHeight() const;
    // Letter, the orientation, the margins: what a printer or PDF is set to.
    QPageLayout PageLayout() const;

    QString Title; // the document's title (PDF metadata, print job name)
    QFont Font;    // every control's font; labels and memos may add bold

    TvdrReportBand &SetPageHeader(const QString &name, double height);
    TvdrReportBand &SetPageHeaderChild(const QString &name, double height);
    TvdrReportBand &AddDetail(const QString &name, double height);
    TvdrReportBand &SetSummary(const QString &name, double height);

    TvdrReportBand *PageHeader() const { return m_pageHeader.get(); }
    TvdrReportBand *PageHeaderChild() const { return m_pageHeaderChild.get(); }
    const std::vector<std::unique_ptr<TvdrReportBand>> &Details() const { return m_details; }
    TvdrReportBand *Summary() const { return m_summary.get(); }

    // Runs at the start of every layout, before any band's hook. A preview
    // lays a report out again whenever its page setup changes, so this is
    // where running totals start again.
    virtual void BeforeGenerate() {}

private:
    QPageLayout::Orientation m_orientation;
    std::unique_ptr<TvdrReportBand> m_pageHeader;
    std::unique_ptr<TvdrReportBand> m_pageHeaderChild;
    std::vector<std::unique_ptr<TvdrReportBand>> m_details;
    std::unique_ptr<TvdrReportBand> m_summary;
};
