#include "vdrReportMetrics.h"

#include <QTextLayout>
#include <QTextOption>

QFont TvdrReportMetrics::DefaultFont() {
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    // 10 point at 96 dpi, rounded as the report's home platform rounds it.
    font.setPixelSize(13);
    font.setHintingPreference(QFont::PreferNoHinting);
    return font;
}

const QFontMetricsF &TvdrReportMetrics::Metrics(const QFont &font) {
    for (const auto &entry : m_metrics)
        if (entry.first == font)
            return entry.second;
    m_metrics.emplace_back(font, QFontMetricsF(font));
    return m_metrics.back().second;
}

double TvdrReportMetrics::Width(const QFont &font, const QString &text) {
    return Metrics(font).horizontalAdvance(text);
}

double TvdrReportMetrics::Height(const QFont &font) {
    return Metrics(font).height();
}

double TvdrReportMetrics::LineSpacing(const QFont &font) {
    return Metrics(font).lineSpacing();
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
