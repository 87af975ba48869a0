#include "vdrCarRec.h"

#include "vdrCmRtn.h"
#include "vdrStrUtils.h"

namespace {

const QChar kTab = QLatin1Char('\t');

} // namespace

void TvdrCarRec::SetMake(const QString &text) {
    Make = Trim(SingleLine(text));
}

void TvdrCarRec::SetModel(const QString &text) {
    Model = Trim(SingleLine(text));
}

// File names and documents can hold a TAB, a line break or a NUL, which would
// split the car's row or cut the table short when it is read back.
void TvdrCarRec::SetPictureExtension(const QString &text) {
    PictureExtension = NormalizeExtension(SingleLine(text));
}

void TvdrCarRec::Decode(const QString &value) {
    bool ok = false;
    const qint32 year = TvdrCmRtn::GetField(1, value, kTab).toInt(&ok, 10);
    Year = ok ? year : 2000;
    Make = Trim(TvdrCmRtn::GetField(2, value, kTab));
    Model = Trim(TvdrCmRtn::GetField(3, value, kTab));
    PictureExtension = NormalizeExtension(TvdrCmRtn::GetField(4, value, kTab));
}

QString TvdrCarRec::Encode() const {
    return QString::number(Year) + kTab + Make + kTab + Model + kTab + PictureExtension;
}

QString TvdrCarRec::Description() const {
    return QString::number(Year) + QLatin1Char(' ') + Make + QLatin1Char(' ') + Model;
}

QString TvdrCarRec::NormalizeExtension(const QString &text) {
    QString ext = Trim(text).toLower();
    if (ext.startsWith(QLatin1Char('.')))
        ext.remove(0, 1);
    if (ext == QLatin1String("jpeg"))
        ext = QStringLiteral("jpg");
    return ext;
}
