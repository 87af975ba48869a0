#include "vdrReportMetrics.h"

#include <QTextLayout>
#include <QTextOption>

QFont TvdrReportMetrics::DefaultFont() {
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    // 10 point at 96 pixels per inch, to the whole pixel.
    font.setPixelSize(13);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

TvdrReportMetrics::TFontMetrics &TvdrReportMetrics::Metrics(const QFont &font) {
    for (TFontMetrics &entry : m_metrics)
        if (entry.Font == font)
            return entry;
    m_metrics.push_back({font, QFontMetricsF(font)});
    return m_metrics.back();
}

double TvdrReportMetrics::Width(const QFont &font, const QString &text) {
    return Metrics(font).Metrics.horizontalAdvance(text);
}

double TvdrReportMetrics::Height(const QFont &font) {
    return Metrics(font).Metrics.height();
}

double TvdrReportMetrics::LineSpacing(const QFont &font) {
    return Metrics(font).Metrics.lineSpacing();
}

QStringList TvdrReportMetrics::Wrap(const QFont &font, const QString &text, double width) {
    if (Width(font, text) <= width)
        return {text};
    QStringList lines;
    QTextLayout layout(text, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        QString part = text.mid(line.textStart(), line.textLength());
        // The blank a line was broken at belongs to neither line.
        while (part.size() > 1 && part.back().isSpace())
            part.chop(1);
        lines.append(part);
    }
    layout.endLayout();
    if (lines.isEmpty())
        lines.append(text);
    return lines;
}
