#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <initializer_list>
#include <optional>

// One row of a TSV file: its columns, cut at every TAB (empty columns
// count), converted as vdrImportValue converts; a value that fails raises
// naming the file, the column, the row (from 0) and the line.
class TvdrTsvRow {
public:
    TvdrTsvRow(const QString &fileName, const QString &line, int index, int lineNumber);

    // `column` counts from 1; one past the last is missing.
    QString Text(int column, const char *name) const;
    qint32 Integer(int column, const char *name) const;
    QDate Date(int column, const char *name) const;
    double Cost(int column, const char *name) const;

    // Raises, naming the row, unless a table row can hold texts of these
    // lengths together.
    void CheckRowTexts(std::initializer_list<qsizetype> lengths) const;

private:
    template <class T>
    T Converted(int column, const char *name, T (*convert)(const std::optional<QString> &)) const;
    // `name` null: the row itself.
    [[noreturn]] void Fail(const char *name, const QString &problem) const;

    QString m_fileName;
    QStringList m_columns;
    int m_index;
    int m_line;
};
