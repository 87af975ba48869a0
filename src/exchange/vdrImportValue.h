#pragma once

#include "vdrError.h"

#include <QByteArrayView>
#include <QDate>
#include <QString>

#include <initializer_list>
#include <optional>

// The conversions both imports share, so that a value is taken or refused
// alike in an XML document and in a TSV file. A value is missing when the
// element or column is not there (std::nullopt). Each raises EvdrError with
// the problem alone ("\"2004/01/05\" is not a valid date"); the importer
// adds the file and the place.
namespace vdrImportValue {

// Plain decimal, optional sign, blanks around it; no overflow.
qint32 Integer(const std::optional<QString> &text);
// yyyy-mm-dd, or an ISO date-time whose day is taken as written.
QDate Date(const std::optional<QString> &text);
// A point or a comma as decimal separator, within the range of the costs'
// four-decimal fixed point; rounded to four decimals.
double Cost(const std::optional<QString> &text);
// A missing text is empty.
QString Text(const std::optional<QString> &text);

// The same conversions of a value in its plain form (vdrPlainNumber), read
// without a QString; false for any other form, which the conversions above
// then take or refuse.
bool PlainInteger(QStringView text, qint32 &value);
bool PlainInteger(QByteArrayView text, qint32 &value);
bool PlainDate(QStringView text, QDate &value);
bool PlainDate(QByteArrayView text, QDate &value);
bool PlainCost(QStringView text, double &value);
bool PlainCost(QByteArrayView text, double &value);

// Raises unless a table row can hold texts of these lengths, with room for
// the row's numbers and separators.
void CheckRowTexts(std::initializer_list<qsizetype> lengths);

// Raises "<file>: <problem> (<name> of <row> <index>, line <line>)"; without
// a name the place is the row, without a line (0) the line is left out.
[[noreturn]] void Fail(const QString &fileName, const QString &problem, const char *name, const QString &row,
                       int index, int line);

// `convert(text)`, whose error goes to `fail(problem)`, which raises.
template <class T, class TFail>
T Converted(T (*convert)(const std::optional<QString> &), const std::optional<QString> &text, TFail fail) {
    try {
        return convert(text);
    } catch (const EvdrError &e) {
        fail(e.Message());
        throw;
    }
}

} // namespace vdrImportValue
