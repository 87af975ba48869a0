#include "kvxNbrEdit.h"

#include "vdrFormatSettings.h"

#include <QKeyEvent>

TkvxNbrEdit::TkvxNbrEdit(QWidget *parent) : QLineEdit(parent) {}

void TkvxNbrEdit::SetIntValue(qint64 value) {
    setText(QString::number(value));
}

qint64 TkvxNbrEdit::GetIntValue() const {
    bool ok = false;
    const qint64 value = text().trimmed().toLongLong(&ok);
    return ok ? value : 0;
}

void TkvxNbrEdit::SetFloatValue(double value) {
    setText(TvdrFormatSettings::Current().Fixed2(value));
}

double TkvxNbrEdit::GetFloatValue() const {
    QString t = text().trimmed();
    const QChar separator = TvdrFormatSettings::Current().DecimalSeparator;
    // Grouping is never typed here, so the locale's separator alone is read
    // as the decimal point.
    if (separator != QLatin1Char('.')) {
        if (t.contains(QLatin1Char('.')))
            return 0;
        t.replace(separator, QLatin1Char('.'));
    }
    return TvdrFormatSettings::ParseCost(t);
}

bool TkvxNbrEdit::Accepts(QChar ch) const {
    if (ch.isDigit() && ch.unicode() < 128)
        return true;
    if (ch == QLatin1Char('-'))
        return !text().contains(QLatin1Char('-'));
    if (ch == TvdrFormatSettings::Current().DecimalSeparator)
        return m_allowDecimals && !text().contains(ch);
    return false;
}

void TkvxNbrEdit::keyPressEvent(QKeyEvent *event) {
    // Keys that type nothing (arrows, Backspace, Enter, shortcuts) go on as
    // in any edit; a typed character must pass the filter.
    const QString typed = event->text();
    const bool printable = !typed.isEmpty() && typed.at(0).isPrint() &&
                           !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (printable) {
        for (QChar ch : typed)
            if (!Accepts(ch)) {
                event->accept();
                return;
            }
    }
    QLineEdit::keyPressEvent(event);
}
