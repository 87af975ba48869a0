#include "vdrMaintRec.h"

#include "vdrCmRtn.h"
#include "vdrDateTime.h"
#include "vdrFormatSettings.h"
#include "vdrStrUtils.h"

#include <charconv>

namespace {

const QString kTab = QStringLiteral("\t");

qint32 WordAsInteger(int n, const QString &text) {
    bool ok = false;
    const qint32 value = ExtractWord(n, text, kTab).toInt(&ok);
    return ok ? value : 0;
}

} // namespace

void TvdrMaintRec::SetDateTime(double dateTime) {
    Date = vdrDateTime::DayNumberOfValue(dateTime);
}

double TvdrMaintRec::GetDateTime() {
    if (Date > 0)
        return vdrDateTime::ValueOfDayNumber(Date);
    const QDateTime now = vdrDateTime::Now();
    Date = vdrDateTime::DayNumberOf(now.date());
    return vdrDateTime::ValueOf(now);
}

void TvdrMaintRec::SetDate(const QDate &date) {
    Date = vdrDateTime::DayNumberOf(date);
}

QDate TvdrMaintRec::GetDate() {
    if (Date <= 0)
        GetDateTime();
    return vdrDateTime::DateOfDayNumber(Date);
}

void TvdrMaintRec::DecodeKey(const QString &text) {
    CarNbr = WordAsInteger(1, text);
    MaintNbr = WordAsInteger(2, text);
}

QString TvdrMaintRec::EncodeKey() const {
    QString key;
    key.reserve(16);
    TvdrCmRtn::AppendKey(key, CarNbr);
    key.append(QLatin1Char('\t'));
    TvdrCmRtn::AppendKey(key, MaintNbr);
    return key;
}

void TvdrMaintRec::Decode(const QString &value) {
    Date = WordAsInteger(1, value);
    Mileage = WordAsInteger(2, value);
    // Either separator: a database written under another locale keeps its
    // costs instead of reading them as 0.
    Cost = TvdrFormatSettings::ParseCost(ExtractWord(3, value, kTab));
}

QString TvdrMaintRec::Encode() const {
    char numbers[32];
    char *end = std::to_chars(numbers, numbers + 12, Date).ptr;
    *end++ = '\t';
    end = std::to_chars(end, end + 12, Mileage).ptr;
    *end++ = '\t';
    QString value;
    value.reserve(40);
    value.append(QLatin1String(numbers, end - numbers));
    value.append(TvdrFormatSettings::Current().StoredCost(Cost));
    return value;
}

TvdrMaintRec TvdrMaintRec::Clone() const {
    TvdrMaintRec copy;
    copy.DecodeKey(EncodeKey());
    copy.Decode(Encode());
    return copy;
}
