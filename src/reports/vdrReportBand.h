#pragma once

#include "vdrReportControl.h"

#include <functional>
#include <memory>
#include <vector>

// What a band's hook is told: the page being laid out (a detail that does
// not fit there moves on to the next one) and, for a detail band, the item
// (0-based).
struct TvdrBandPrint {
    int PageNumber = 1;
    int Item = 0;
};

// A horizontal strip of a report: a page header, the child printed right
// after it on every page, a detail band printed once per item, or the
// summary printed once after the last detail. It owns its controls.
class TvdrReportBand {
public:
    TvdrReportBand(TvdrBandKind kind, const QString &name, double height);
    TvdrReportBand(const TvdrReportBand &) = delete;
    TvdrReportBand &operator=(const TvdrReportBand &) = delete;

    TvdrBandKind Kind() const { return m_kind; }
    const QString &Name() const { return m_name; }

    double Height;     // at least; memos and images stretch it
    int ItemCount = 1; // detail bands only
    // Runs right before the band is laid out: the place to fill its
    // controls. Returning false leaves this item (or this page's header)
    // out.
    std::function<bool(const TvdrBandPrint &)> BeforePrint;

    template <class T, class... Args> T &Add(Args &&...args) {
        return Add(std::make_unique<T>(std::forward<Args>(args)...));
    }
    template <class T> T &Add(std::unique_ptr<T> control) {
        T &added = *control;
        m_controls.push_back(std::move(control));
        return added;
    }
    const std::vector<std::unique_ptr<TvdrReportControl>> &Controls() const { return m_controls; }

private:
    TvdrBandKind m_kind;
    QString m_name;
    std::vector<std::unique_ptr<TvdrReportControl>> m_controls;
};
