#pragma once

#include "vdrReportLayout.h"
#include "vdrTestDatabase.h"

#include <QStringList>
#include <gtest/gtest.h>

#include <vector>

class TvdrReport;

// A database of its own, the point locale, today fixed at 1 March 2024 and a
// folder for the PDF files.
class TvdrReportTest : public testing::Test {
protected:
    TvdrReportTest();
    ~TvdrReportTest() override;

    // Writes the report as PDF and gives the file's name.
    QString Pdf(TvdrReport &report, const QString &name = QStringLiteral("report.pdf"));
    // A car with that description; its number.
    qint32 AddCar(qint32 year, const QString &make, const QString &model);

    TvdrTestDatabase m_db;
};

// The placed text or lines of one control, on every page (page 0) or on one.
std::vector<TvdrPlacedItem> ItemsOf(const TvdrReportLayout &layout, const QString &control, int page = 0);
QStringList TextsOf(const TvdrReportLayout &layout, const QString &control, int page = 0);
// The placed bands of that name, in order over all pages.
std::vector<TvdrPlacedBand> BandsOf(const TvdrReportLayout &layout, const QString &band);

// Whether `lines` hold the texts in `expected` in that order (reading each
// line from left to right, then the next).
testing::AssertionResult InOrder(const QStringList &lines, const QStringList &expected);
