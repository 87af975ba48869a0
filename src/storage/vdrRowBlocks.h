#pragma once

#include <QString>
#include <QStringView>

#include <initializer_list>

// Rows copied one after another into shared blocks of characters: each row
// is a string that points into its block and shares its reference count, as
// the rows of a load do, instead of an allocation of its own. A change to a
// row copies it out first; a block goes with the last row, or copy of one,
// that still uses it. For the many rows an import makes at once.
class TvdrRowBlocks {
public:
    // For about `rows` rows: below a few hundred, each row gets a string of
    // its own, as a block would be held by a handful of rows long after.
    explicit TvdrRowBlocks(qsizetype rows) : m_shared(rows >= kFewRows) {}
    // Whether the rows share blocks, or have strings of their own.
    bool Shared() const { return m_shared; }

    // A copy of `row` in the block being filled, ended by a NUL there.
    QString Make(QStringView row) { return Make({row}); }
    // The parts one after another, as one row.
    QString Make(std::initializer_list<QStringView> parts);

    // `length` characters of `block` from `offset`, sharing the block.
    static QString ShareOf(QString::DataPointer &block, qsizetype offset, qsizetype length);

private:
    // Rows longer than a quarter of this get their own string: a block
    // started for one would mostly stay empty.
    static constexpr qsizetype kBlockChars = 32 * 1024;
    static constexpr qsizetype kFewRows = 256;

    bool m_shared;
    QString::DataPointer m_block;
    qsizetype m_used = 0;
};
