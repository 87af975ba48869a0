#include "vdrField.h"

#include "vdrStrUtils.h"

QString TvdrField::RowName() const {
    TvdrReadGuard guard(m_lock);
    return m_rowName;
}

QString TvdrField::RowValue() const {
    TvdrReadGuard guard(m_lock);
    return m_rowValue;
}

void TvdrField::SetRowName(const QString &name) {
    TvdrWriteGuard guard(m_lock);
    m_rowName = Trim(name);
}

void TvdrField::SetRowValue(const QString &value) {
    TvdrWriteGuard guard(m_lock);
    m_rowValue = Trim(value);
}

void TvdrField::SetOnChange(TOnChange onChange) {
    TvdrWriteGuard guard(m_lock);
    m_onChange = std::move(onChange);
}

QString TvdrField::AsString() const {
    return RowValue();
}

void TvdrField::SetAsString(const QString &text) {
    QString name;
    QString value;
    TOnChange onChange;
    {
        TvdrWriteGuard guard(m_lock);
        m_rowValue = Trim(text);
        name = m_rowName;
        value = m_rowValue;
        onChange = m_onChange;
    }
    // Called without the field's lock: the table's Field takes the table lock
    // and then this one, so holding this one while the callback takes the
    // table lock could deadlock against another thread.
    if (onChange)
        onChange(name, value);
}

int TvdrField::AsInteger() const {
    bool ok = false;
    const int n = RowValue().toInt(&ok, 10);
    return ok ? n : 0;
}

void TvdrField::SetAsInteger(int value) {
    SetAsString(QString::number(value));
}

bool TvdrField::AsBoolean() const {
    return RowValue() == QLatin1String("1");
}

void TvdrField::SetAsBoolean(bool value) {
    SetAsString(value ? QStringLiteral("1") : QStringLiteral("0"));
}
