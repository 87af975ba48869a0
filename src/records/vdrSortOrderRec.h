#pragma once

#include "vdrSortOrderField.h"

#include <vector>

// One sort order: a name, its menu position and its fields, most
// significant first. Stored as one row: name "=" number, then TAB and a
// field's stored form for every field ("By make=1", TAB, "1|0|0").
class TvdrSortOrderRec {
public:
    QString SortOrderName; // trimmed
    qint32 SortOrderNbr = 0;

    void SetName(const QString &text);
    void AddSortField(qint32 fieldNbr, quint8 fieldKind, quint8 direction);
    // Nothing when out of range.
    void DeleteSortField(int index);
    void ClearSortFields() { m_fields.clear(); }
    int SortFieldCount() const { return int(m_fields.size()); }
    // Null when out of range.
    TvdrSortOrderField *SortFieldAt(int index);
    const TvdrSortOrderField *SortFieldAt(int index) const;

    QString Encode() const;
    void Decode(const QString &row);
    // A new record decoded from Encode().
    TvdrSortOrderRec Clone() const;

    // The fields' stored forms joined by TAB (the exchange files' column).
    QString FieldsText() const;
    // The encoding of the same sort order given as its three stored parts.
    static QString EncodeParts(const QString &name, qint32 number, const QString &fieldsText);

    // Whether `name` survives storage: no "=", TAB or line break.
    static bool IsStorableName(const QString &name);

private:
    std::vector<TvdrSortOrderField> m_fields;
};
