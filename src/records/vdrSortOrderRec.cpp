#include "vdrSortOrderRec.h"

#include "vdrCmRtn.h"
#include "vdrStrUtils.h"

#include <QStringList>

void TvdrSortOrderRec::SetName(const QString &text) {
    SortOrderName = Trim(text);
}

void TvdrSortOrderRec::AddSortField(qint32 fieldNbr, quint8 fieldKind, quint8 direction) {
    TvdrSortOrderField field;
    field.FieldNbr = fieldNbr;
    field.FieldKind = fieldKind;
    field.Direction = direction;
    m_fields.push_back(field);
}

void TvdrSortOrderRec::DeleteSortField(int index) {
    if (index >= 0 && index < SortFieldCount())
        m_fields.erase(m_fields.begin() + index);
}

TvdrSortOrderField *TvdrSortOrderRec::SortFieldAt(int index) {
    return index >= 0 && index < SortFieldCount() ? &m_fields[size_t(index)] : nullptr;
}

const TvdrSortOrderField *TvdrSortOrderRec::SortFieldAt(int index) const {
    return index >= 0 && index < SortFieldCount() ? &m_fields[size_t(index)] : nullptr;
}

QString TvdrSortOrderRec::Encode() const {
    return EncodeParts(SortOrderName, SortOrderNbr, FieldsText());
}

void TvdrSortOrderRec::Decode(const QString &row) {
    ClearSortFields();
    // A row without "=" has no name: all of it is the number part.
    const qsizetype eq = row.indexOf(QLatin1Char('='));
    SortOrderName = eq < 0 ? QString() : Trim(row.left(eq));
    const QString rest = eq < 0 ? row : row.mid(eq + 1);

    const qsizetype tab = rest.indexOf(QLatin1Char('\t'));
    bool ok = false;
    SortOrderNbr = Trim(tab < 0 ? rest : rest.left(tab)).toInt(&ok, 10);
    if (!ok)
        SortOrderNbr = 0;
    if (tab < 0)
        return;

    // One split, not a search from the start for each field: a damaged row
    // can hold a great many TABs.
    const QList<QStringView> fields = QStringView(rest).mid(tab + 1).split(QLatin1Char('\t'));
    m_fields.reserve(size_t(fields.size()));
    for (const QStringView text : fields) {
        TvdrSortOrderField field;
        field.Decode(text.toString());
        m_fields.push_back(field);
    }
}

TvdrSortOrderRec TvdrSortOrderRec::Clone() const {
    TvdrSortOrderRec copy;
    copy.Decode(Encode());
    return copy;
}

QString TvdrSortOrderRec::FieldsText() const {
    QStringList parts;
    parts.reserve(qsizetype(m_fields.size()));
    for (const TvdrSortOrderField &field : m_fields)
        parts.append(field.Encode());
    return parts.join(QLatin1Char('\t'));
}

QString TvdrSortOrderRec::EncodeParts(const QString &name, qint32 number, const QString &fieldsText) {
    QString row = name + QLatin1Char('=') + QString::number(number);
    if (!fieldsText.isEmpty())
        row += QLatin1Char('\t') + fieldsText;
    return row;
}

bool TvdrSortOrderRec::IsStorableName(const QString &name) {
    for (const QChar ch : name)
        if (ch == QLatin1Char('=') || ch == QLatin1Char('\t') || ch == QLatin1Char('\r') ||
            ch == QLatin1Char('\n'))
            return false;
    return true;
}
