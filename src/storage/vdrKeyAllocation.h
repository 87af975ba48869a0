#pragma once

#include <QString>

#include <functional>

class TvdrStringList;

// The rules by which a table numbers its new rows, over the rows of a list
// (TvdrStringList): the first free number (cars, user-defined fields) and
// one past the last (repair descriptions). A table names how a row's number
// is read; rows without a number of 0 or more are passed over by both, so a
// damaged row never makes a new key land on a row in use.
class TvdrKeyAllocation {
public:
    // A row's number, -1 when it has none.
    using TRowNumber = std::function<int(const QString &row)>;

    // The first number, counting from 0, that the rows do not hold in
    // sequence from the first row.
    static int FirstFreeNumber(const TvdrStringList &list, const TRowNumber &rowNumber);
    // The same walk, resumable: `walk` keeps the row and number it stopped
    // at, so a caller that adds many rows, each at the number found, walks
    // the list once in all.
    struct TWalk {
        int Row = 0;
        int Next = 0;
    };
    static int FirstFreeNumber(const TvdrStringList &list, const TRowNumber &rowNumber, TWalk &walk);
    // The number of the last row that has one, plus one; 0 when no row has
    // a number. Raises when that would pass the largest number.
    static int OnePastLastNumber(const TvdrStringList &list, const TRowNumber &rowNumber);

    // `text` as a decimal integer, -1 when it is not one.
    static int ParseRowNumber(const QString &text);
    // The number of a keyed row (name=value): its name as a decimal integer.
    static int NameNumber(const QString &row);
    // The same of a stored row.
    static int StoredNameNumber(QByteArrayView row);
};
