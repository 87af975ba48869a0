#pragma once

#include <QRectF>
#include <QString>
#include <QStringList>

#include <vector>

// What poppler's tools (poppler-utils) read from a PDF file. Each raises
// std::runtime_error when its tool is missing or fails.

// The text as laid out on paper (pdftotext -layout): of every page, or of
// page `page` counting from 1.
QString PdfText(const QString &fileName, int page = 0);
// The lines of PdfText that hold anything, with the blanks at their right end
// removed.
QStringList PdfLines(const QString &fileName, int page = 0);
// A field of pdfinfo: "Pages", "Title", "Page size".
QString PdfInfo(const QString &fileName, const QString &field);
int PdfPageCount(const QString &fileName);
// How many pictures the document holds (pdfimages -list).
int PdfImageCount(const QString &fileName);

// A word with its box in points from the page's top left corner
// (pdftotext -bbox).
struct TvdrPdfWord {
    int Page = 0;
    QString Text;
    QRectF Box;
};
std::vector<TvdrPdfWord> PdfWords(const QString &fileName);
