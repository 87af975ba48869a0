#include "vdrTsvRow.h"

#include "vdrError.h"
#include "vdrImportValue.h"

TvdrTsvRow::TvdrTsvRow(const QString &fileName, const QString &line, int index, int lineNumber)
    : m_fileName(fileName), m_columns(line.split(QLatin1Char('\t'))), m_index(index), m_line(lineNumber) {}

template <class T>
T TvdrTsvRow::Converted(int column, const char *name, T (*convert)(const std::optional<QString> &)) const {
    const std::optional<QString> text =
        column <= m_columns.size() ? std::optional<QString>(m_columns[column - 1]) : std::nullopt;
    return vdrImportValue::Converted(convert, text,
                                     [this, name](const QString &problem) { Fail(name, problem); });
}

QString TvdrTsvRow::Text(int column, const char *name) const {
    return Converted(column, name, vdrImportValue::Text);
}

qint32 TvdrTsvRow::Integer(int column, const char *name) const {
    return Converted(column, name, vdrImportValue::Integer);
}

QDate TvdrTsvRow::Date(int column, const char *name) const {
    return Converted(column, name, vdrImportValue::Date);
}

double TvdrTsvRow::Cost(int column, const char *name) const {
    return Converted(column, name, vdrImportValue::Cost);
}

void TvdrTsvRow::CheckRowTexts(std::initializer_list<qsizetype> lengths) const {
    try {
        vdrImportValue::CheckRowTexts(lengths);
    } catch (const EvdrError &e) {
        Fail(nullptr, e.Message());
    }
}

void TvdrTsvRow::Fail(const char *name, const QString &problem) const {
    vdrImportValue::Fail(m_fileName, problem, name, QStringLiteral("row"), m_index, m_line);
}
