#pragma once

#include <QString>

// One car row, parsed. The row value is Year, Make, Model and the picture
// extension joined by TABs; the key (CarNbr) is the row's name and never part
// of the value.
class TvdrCarRec {
public:
    QString Model;
    QString Make;
    qint32 Year = 0;
    qint32 CarNbr = 0;
    QString PictureExtension; // lower case, no dot, "jpeg" as "jpg"; empty: no picture

    // Trimmed; TABs and line breaks become blanks, since the row has no
    // escape for them.
    void SetMake(const QString &text);
    void SetModel(const QString &text);
    void SetPictureExtension(const QString &text);

    // A year that is not an integer (empty, missing) reads as 2000; missing
    // trailing fields read as empty. CarNbr is left alone.
    void Decode(const QString &value);
    QString Encode() const;

    // "%d %s %s" of Year, Make and Model.
    QString Description() const;

    // Trim, lower case, drop one leading ".", "jpeg" -> "jpg".
    static QString NormalizeExtension(const QString &text);
};
