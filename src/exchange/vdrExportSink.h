#pragma once

#include "vdrCodePage.h"

#include <QByteArrayView>
#include <QStringView>

struct TvdrExportTable;

// Receives the exported tables value by value, in their written form, and
// writes them in the form of one kind of file: no row is ever held whole.
// Calls come as BeginTable, then for each row BeginRow, one value per
// column and EndRow, then EndTable.
class TvdrExportSink {
public:
    virtual ~TvdrExportSink() = default;

    virtual void BeginTable(const TvdrExportTable &table) = 0;
    virtual void EndTable() = 0;
    virtual void BeginRow() = 0;
    virtual void EndRow() = 0;

    // Plain decimal.
    virtual void Number(qint64 number) = 0;
    // ASCII that no file escapes: a date, a cost.
    virtual void Ascii(const char *text, qsizetype length) = 0;
    virtual void Text(QStringView text) = 0;
    // Text as a table stores it, in code page 1252.
    virtual void StoredText(QByteArrayView text) {
        vdrCodePage::ToUnicode(text, m_decoded);
        Text(m_decoded);
    }
    // A sort order's fields in their stored forms, joined by TAB.
    virtual void Fields(QStringView text) = 0;

private:
    QString m_decoded; // reused: no string per row
};
