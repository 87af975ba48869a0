#include "vdrReportLayout.h"

#include "vdrError.h"
#include "vdrReport.h"
#include "vdrReportMetrics.h"

#include <algorithm>

namespace {

struct TArranged {
    std::vector<TvdrPlacedItem> Items;
    double Height = 0;
};

// The state of one run over the report's bands.
class TLayouter {
public:
    TLayouter(TvdrReport &report, std::vector<TvdrReportPage> &pages) : m_report(report), m_pages(pages) {}

    void Run() {
        m_report.BeforeGenerate();
        NewPage();
        for (const auto &detail : m_report.Details())
            for (int i = 0; i < detail->ItemCount; ++i)
                Print(*detail, i);
        if (TvdrReportBand *summary = m_report.Summary())
            Print(*summary, 0);
    }

private:
    TvdrReport &m_report;
    std::vector<TvdrReportPage> &m_pages;
    TvdrReportMetrics m_metrics;
    double m_y = 0;       // where the next band goes on the current page
    double m_bodyTop = 0; // below the page header and its child

    TArranged Arrange(const TvdrReportBand &band, double bodyHeight) {
        TArranged arranged;
        const TvdrArrangeContext context{m_metrics, m_report.Font, m_report.PageWidth(), bodyHeight};
        double growth = 0;
        for (const auto &control : band.Controls()) {
            const double reach = control->Arrange(context, arranged.Items);
            if (control->Stretches())
                growth = std::max(growth, reach - control->Height);
        }
        arranged.Height = band.Height + growth;
        return arranged;
    }

    bool WantsPrint(TvdrReportBand &band, int item) {
        return !band.BeforePrint || band.BeforePrint(TvdrBandPrint{int(m_pages.size()), item});
    }

    // Takes the items of a band that fits whole; copies those of a piece.
    void Emit(const TvdrReportBand &band, int item, int piece, TArranged &arranged, double from, double to) {
        TvdrPlacedBand placed;
        placed.Name = band.Name();
        placed.Kind = band.Kind();
        placed.Item = item;
        placed.Piece = piece;
        placed.Top = m_y;
        placed.Height = to - from;
        if (from == 0 && to >= arranged.Height) {
            placed.Items = std::move(arranged.Items);
            for (TvdrPlacedItem &item : placed.Items)
                item.Rect.translate(0, m_y);
        } else {
            for (const TvdrPlacedItem &item : arranged.Items) {
                const bool last = to >= arranged.Height;
                if (item.Rect.top() >= from && (item.Rect.top() < to || last)) {
                    placed.Items.push_back(item);
                    placed.Items.back().Rect.translate(0, m_y - from);
                }
            }
        }
        m_pages.back().Bands.push_back(std::move(placed));
        m_y += to - from;
    }

    void NewPage() {
        m_pages.emplace_back();
        m_pages.back().Number = int(m_pages.size());
        m_y = 0;
        for (TvdrReportBand *band : {m_report.PageHeader(), m_report.PageHeaderChild()}) {
            if (!band || !WantsPrint(*band, 0))
                continue;
            TArranged arranged = Arrange(*band, m_report.PageHeight());
            Emit(*band, 0, 0, arranged, 0, arranged.Height);
        }
        m_bodyTop = m_y;
        if (m_bodyTop >= m_report.PageHeight())
            throw EvdrError(QStringLiteral("The page header of the report \"%1\" leaves no room on the page")
                                .arg(m_report.Title));
    }

    // Where a piece that may reach down to `limit` ends: above the first
    // item that would be cut, unless that item alone is taller than a page.
    static double Cut(const TArranged &arranged, double from, double limit) {
        double cut = limit;
        for (bool moved = true; moved;) {
            moved = false;
            for (const TvdrPlacedItem &item : arranged.Items) {
                if (item.Rect.top() > from && item.Rect.top() < cut && item.Rect.bottom() > cut) {
                    cut = item.Rect.top();
                    moved = true;
                }
            }
        }
        return cut;
    }

    void Print(TvdrReportBand &band, int item) {
        if (!WantsPrint(band, item))
            return;
        const double pageHeight = m_report.PageHeight();
        TArranged arranged = Arrange(band, pageHeight - m_bodyTop);
        if (m_y + arranged.Height > pageHeight && m_y > m_bodyTop)
            NewPage();
        double from = 0;
        for (int piece = 0;; ++piece) {
            const double room = pageHeight - m_y;
            if (arranged.Height - from <= room) {
                Emit(band, item, piece, arranged, from, arranged.Height);
                return;
            }
            const double cut = Cut(arranged, from, from + room);
            Emit(band, item, piece, arranged, from, cut);
            NewPage();
            from = cut;
        }
    }
};

} // namespace

TvdrReportLayout::TvdrReportLayout(TvdrReport &report)
    : m_title(report.Title), m_pageLayout(report.PageLayout()) {
    TLayouter(report, m_pages).Run();
}
