#pragma once

#include <QFont>
#include <QFontMetricsF>
#include <QStringList>

#include <vector>

// Text measured at 96 pixels per inch, whatever device the report is painted
// on later: report fonts are sized in pixels and unhinted, so the widths do
// not depend on a device's resolution. Needs a QGuiApplication.
class TvdrReportMetrics {
public:
    // Arial 10 point at 96 pixels per inch (13 pixels).
    static QFont DefaultFont();

    double Width(const QFont &font, const QString &text);
    // The height of a one-line label.
    double Height(const QFont &font);
    double LineSpacing(const QFont &font);

    // `text` broken into lines no wider than `width`, at blanks where it can
    // be, inside a word longer than the width where it must. A text that
    // fits (the empty one too) is one line.
    QStringList Wrap(const QFont &font, const QString &text, double width);

private:
    struct TFontMetrics {
        QFont Font;
        QFontMetricsF Metrics;
    };
    TFontMetrics &Metrics(const QFont &font);

    std::vector<TFontMetrics> m_metrics;
};
