#pragma once

#include <QDate>
#include <QString>
#include <QVarLengthArray>

#include <initializer_list>
#include <optional>

// One row of a TSV file: its columns, cut at every TAB (empty columns
// count), converted as vdrImportValue converts; a value that fails raises
// naming the file, the column, the row (from 0) and the line.
class TvdrTsvRow {
public:
    // `fileName` must outlive the row.
    TvdrTsvRow(const QString &fileName, QString line, int index, int lineNumber);
    TvdrTsvRow(const TvdrTsvRow &) = delete;
    TvdrTsvRow &operator=(const TvdrTsvRow &) = delete;

    // `column` counts from 1; one past the last is missing.
    QString Text(int column, const char *name) const;
    qint32 Integer(int column, const char *name) const;
    QDate Date(int column, const char *name) const;
    double Cost(int column, const char *name) const;

    // Raises, naming the row, unless a table row can hold texts of these
    // lengths together.
    void CheckRowTexts(std::initializer_list<qsizetype> lengths) const;

private:
    // The column, or null when the row has fewer.
    const QStringView *Column(int column) const;
    template <class T>
    T Converted(int column, const char *name, T (*convert)(const std::optional<QString> &)) const;
    // `name` null: the row itself.
    [[noreturn]] void Fail(const char *name, const QString &problem) const;

    const QString &m_fileName;
    QString m_line;
    QVarLengthArray<QStringView, 8> m_columns; // into m_line
    int m_index;
    int m_lineNumber;
};
