#pragma once

#include "vdrLock.h"

#include <QString>

#include <functional>

// The accessor of one row of a keyed table, handed out by TvdrEntity::Field.
// Writing a value trims it and passes (RowName, RowValue) to OnChange, which
// the table binds to its SetValue: writing the field writes the row, and an
// empty text deletes it.
class TvdrField {
public:
    using TOnChange = std::function<void(const QString &name, const QString &value)>;

    TvdrField() = default;
    TvdrField(const TvdrField &) = delete;
    TvdrField &operator=(const TvdrField &) = delete;

    QString RowName() const;
    QString RowValue() const;
    // Both store the text trimmed and call nothing.
    void SetRowName(const QString &name);
    void SetRowValue(const QString &value);
    void SetOnChange(TOnChange onChange);
    TvdrLock &Lock() const { return m_lock; }

    QString AsString() const;
    void SetAsString(const QString &text);
    // 0 when the value is not a decimal integer.
    int AsInteger() const;
    void SetAsInteger(int value);
    // True exactly for the value "1"; written as "1" or "0".
    bool AsBoolean() const;
    void SetAsBoolean(bool value);

private:
    mutable TvdrLock m_lock;
    QString m_rowName;
    QString m_rowValue;
    TOnChange m_onChange;
};
