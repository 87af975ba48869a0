#include "vdrTsvRow.h"

#include "vdrError.h"
#include "vdrImportValue.h"

TvdrTsvRow::TvdrTsvRow(const QString &fileName, QString line, int index, int lineNumber)
    : m_fileName(fileName), m_line(std::move(line)), m_index(index), m_lineNumber(lineNumber) {
    const QStringView text(m_line);
    qsizetype start = 0;
    for (qsizetype tab; (tab = text.indexOf(u'\t', start)) >= 0; start = tab + 1)
        m_columns.append(text.mid(start, tab - start));
    m_columns.append(text.mid(start));
}

const QStringView *TvdrTsvRow::Column(int column) const {
    return column <= m_columns.size() ? &m_columns[column - 1] : nullptr;
}

template <class T>
T TvdrTsvRow::Converted(int column, const char *name, T (*convert)(const std::optional<QString> &)) const {
    const QStringView *view = Column(column);
    const std::optional<QString> text = view ? std::optional<QString>(view->toString()) : std::nullopt;
    return vdrImportValue::Converted(convert, text,
                                     [this, name](const QString &problem) { Fail(name, problem); });
}

QString TvdrTsvRow::Text(int column, const char *name) const {
    return Converted(column, name, vdrImportValue::Text);
}

qint32 TvdrTsvRow::Integer(int column, const char *name) const {
    qint32 value = 0;
    const QStringView *view = Column(column);
    return view && vdrImportValue::PlainInteger(*view, value)
               ? value
               : Converted(column, name, vdrImportValue::Integer);
}

QDate TvdrTsvRow::Date(int column, const char *name) const {
    QDate value;
    const QStringView *view = Column(column);
    return view && vdrImportValue::PlainDate(*view, value) ? value
                                                           : Converted(column, name, vdrImportValue::Date);
}

double TvdrTsvRow::Cost(int column, const char *name) const {
    double value = 0;
    const QStringView *view = Column(column);
    return view && vdrImportValue::PlainCost(*view, value) ? value
                                                           : Converted(column, name, vdrImportValue::Cost);
}

void TvdrTsvRow::CheckRowTexts(std::initializer_list<qsizetype> lengths) const {
    try {
        vdrImportValue::CheckRowTexts(lengths);
    } catch (const EvdrError &e) {
        Fail(nullptr, e.Message());
    }
}

void TvdrTsvRow::Fail(const char *name, const QString &problem) const {
    vdrImportValue::Fail(m_fileName, problem, name, QStringLiteral("row"), m_index, m_lineNumber);
}
