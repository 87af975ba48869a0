#include "vdrMaintFilterValues.h"

#include "vdrFormatSettings.h"
#include "vdrMaintFilter.h"
#include "vdrMaintSortedList.h"
#include "vdrStrUtils.h"

#include <QHash>

#include <algorithm>
#include <cmath>

namespace {

// Collects one entry per text; the first event showing a text places it,
// the later ones only widen its range.
class TCollector {
public:
    void Add(const QString &text, double value) {
        const auto found = m_index.constFind(text);
        if (found == m_index.constEnd()) {
            m_index.insert(text, m_values.size());
            m_values.push_back({text, value, value});
            return;
        }
        TvdrFilterValue &entry = m_values[*found];
        entry.Low = std::min(entry.Low, value);
        entry.High = std::max(entry.High, value);
    }
    TvdrFilterValues Sorted() {
        std::stable_sort(m_values.begin(), m_values.end(),
                         [](const TvdrFilterValue &a, const TvdrFilterValue &b) { return a.Low < b.Low; });
        return std::move(m_values);
    }

private:
    QHash<QString, std::size_t> m_index;
    TvdrFilterValues m_values;
};

} // namespace

TvdrMaintFilterValues TvdrMaintFilterValues::Of(TvdrMaintSortedList &list) {
    const TvdrFormatSettings &format = TvdrFormatSettings::Current();
    TCollector dates;
    TCollector mileages;
    TCollector costs;
    for (int i = 0; i < list.Count(); ++i) {
        TvdrMaintRec &event = list.Items(i);
        const double date = event.GetDateTime();
        dates.Add(format.ShortDate(event.GetDate()), date);
        mileages.Add(GroupThousandsComma(event.Mileage), event.Mileage);
        costs.Add(format.Fixed2(event.Cost), event.Cost);
    }
    return {dates.Sorted(), mileages.Sorted(), costs.Sorted()};
}

std::unique_ptr<TvdrMaintFilter> RangeFilter(TvdrRangePage page, const TvdrFilterValue &from,
                                             const TvdrFilterValue &to) {
    switch (page) {
    case TvdrRangePage::Date:
        return std::make_unique<TvdrDateFilter>(from.Low, to.High);
    case TvdrRangePage::Mileage:
        return std::make_unique<TvdrMileageFilter>(qint32(std::lround(from.Low)),
                                                   qint32(std::lround(to.High)));
    case TvdrRangePage::Cost:
        break;
    }
    return std::make_unique<TvdrCostFilter>(from.Low, to.High);
}
