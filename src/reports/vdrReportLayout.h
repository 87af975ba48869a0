#pragma once

#include "vdrReportPage.h"

#include <QPageLayout>

#include <vector>

class TvdrReport;
class TvdrReportBand;

// A report broken into pages: every band placed, every text measured, at 96
// pixels per inch, independent of the device it is painted on later.
//
// Each page starts with the page header and its child. A band that does not
// fit on the rest of a page goes to the next one, whole. A band taller than
// a whole page (a long note) starts on a page of its own and is split rather
// than cut: each piece ends above the first text line or picture that would
// not fit, and the rest continues below the page header of the next page;
// nothing is lost.
class TvdrReportLayout {
public:
    // Runs the report's BeforeGenerate and its bands' hooks. Raises EvdrError
    // when the page header and its child leave no room on the page.
    explicit TvdrReportLayout(TvdrReport &report);

    const std::vector<TvdrReportPage> &Pages() const { return m_pages; }
    const QString &Title() const { return m_title; }
    const QPageLayout &PageLayout() const { return m_pageLayout; }

private:
    QString m_title;
    QPageLayout m_pageLayout;
    std::vector<TvdrReportPage> m_pages;
};
