#include "vdrTestPdf.h"

#include <QProcess>
#include <QRegularExpression>

#include <stdexcept>

namespace {

QString Run(const QString &program, const QStringList &args) {
    QProcess process;
    process.start(program, args);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit ||
        process.exitCode() != 0)
        throw std::runtime_error(
            QStringLiteral("%1 %2 failed (is poppler-utils installed?): %3")
                .arg(program, args.join(QLatin1Char(' ')),
                     QString::fromUtf8(process.readAllStandardError()) + process.errorString())
                .toStdString());
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString Unescape(QString text) {
    text.replace(QStringLiteral("&lt;"), QStringLiteral("<"));
    text.replace(QStringLiteral("&gt;"), QStringLiteral(">"));
    text.replace(QStringLiteral("&quot;"), QStringLiteral("\""));
    text.replace(QStringLiteral("&amp;"), QStringLiteral("&"));
    return text;
}

} // namespace

QString PdfText(const QString &fileName, int page) {
    QStringList args = {QStringLiteral("-layout")};
    if (page > 0)
        args << QStringLiteral("-f") << QString::number(page) << QStringLiteral("-l")
             << QString::number(page);
    return Run(QStringLiteral("pdftotext"), args << fileName << QStringLiteral("-"));
}

QStringList PdfLines(const QString &fileName, int page) {
    QStringList lines;
    for (QString line : PdfText(fileName, page).split(QLatin1Char('\n'))) {
        while (!line.isEmpty() && line.back().isSpace())
            line.chop(1);
        line.remove(QLatin1Char('\f'));
        if (!line.trimmed().isEmpty())
            lines.append(line);
    }
    return lines;
}

QString PdfInfo(const QString &fileName, const QString &field) {
    const QString info = Run(QStringLiteral("pdfinfo"), {fileName});
    const QRegularExpression line(QStringLiteral("^%1:\\s*(.*)$").arg(QRegularExpression::escape(field)),
                                  QRegularExpression::MultilineOption);
    return line.match(info).captured(1).trimmed();
}

int PdfPageCount(const QString &fileName) {
    return PdfInfo(fileName, QStringLiteral("Pages")).toInt();
}

int PdfImageCount(const QString &fileName) {
    // Two heading lines, then one line per picture.
    const QStringList lines = Run(QStringLiteral("pdfimages"), {QStringLiteral("-list"), fileName})
                                  .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    return int(lines.size()) - 2;
}

std::vector<TvdrPdfWord> PdfWords(const QString &fileName) {
    const QString html =
        Run(QStringLiteral("pdftotext"), {QStringLiteral("-bbox"), fileName, QStringLiteral("-")});
    const QRegularExpression tag(QStringLiteral("<page |<word xMin=\"([\\d.]+)\" yMin=\"([\\d.]+)\" "
                                                "xMax=\"([\\d.]+)\" yMax=\"([\\d.]+)\">([^<]*)</word>"));
    std::vector<TvdrPdfWord> words;
    int page = 0;
    for (const QRegularExpressionMatch &m : tag.globalMatch(html)) {
        if (m.captured(0).startsWith(QStringLiteral("<page"))) {
            ++page;
            continue;
        }
        const double x0 = m.captured(1).toDouble(), y0 = m.captured(2).toDouble();
        words.push_back(
            {page, Unescape(m.captured(5)),
             QRectF(QPointF(x0, y0), QPointF(m.captured(3).toDouble(), m.captured(4).toDouble()))});
    }
    return words;
}
