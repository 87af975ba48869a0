#pragma once

#include <QString>

// One field of a sort order, stored as FieldNbr|FieldKind|Direction
// ("1|0|0": Make ascending, "4|1|1": user-defined field 4 descending).
class TvdrSortOrderField {
public:
    enum : quint8 { BuiltIn = 0, UserDefined = 1 };
    enum : qint32 { Year = 0, Make = 1, Model = 2 };

    quint8 Direction = 0; // 0 ascending, any other value descending
    qint32 FieldNbr = 0;  // built-in: 0 Year, 1 Make, other Model; else a UdfNbr
    quint8 FieldKind = 0; // 0 built-in, other user-defined

    QString Encode() const;
    // Parts cut with GetField on "|": a missing or non-integer part reads as
    // 0; kind and direction keep the low 8 bits.
    void Decode(const QString &text);

    bool IsUserDefined() const { return FieldKind != BuiltIn; }
    bool operator==(const TvdrSortOrderField &o) const {
        return Direction == o.Direction && FieldNbr == o.FieldNbr && FieldKind == o.FieldKind;
    }
};
