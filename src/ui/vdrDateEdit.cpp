#include "vdrDateEdit.h"

#include "vdrDateText.h"
#include "vdrDateTime.h"
#include "vdrFormatSettings.h"

#include <QCalendarWidget>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QToolButton>

TvdrDateEdit::TvdrDateEdit(QWidget *parent)
    : QWidget(parent), m_edit(new QLineEdit(this)), m_button(new QToolButton(this)),
      m_calendar(new QCalendarWidget(this)) {
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(2);
    layout->addWidget(m_edit);
    layout->addWidget(m_button);
    m_button->setArrowType(Qt::DownArrow);
    m_button->setFocusPolicy(Qt::NoFocus);
    setFocusProxy(m_edit);
    m_calendar->setWindowFlags(Qt::Popup);
    m_calendar->setGridVisible(true);
    m_calendar->hide();
    m_edit->installEventFilter(this);
    connect(m_button, &QToolButton::clicked, this, &TvdrDateEdit::ShowCalendar);
    connect(m_edit, &QLineEdit::editingFinished, this, &TvdrDateEdit::Commit);
    connect(m_calendar, &QCalendarWidget::activated, this, [this](const QDate &date) {
        SetDate(date);
        m_calendar->hide();
        m_edit->setFocus();
    });
    SetDate(vdrDateTime::Now().date());
}

QDate TvdrDateEdit::Date() const {
    const_cast<TvdrDateEdit *>(this)->Commit();
    return m_date;
}

void TvdrDateEdit::SetDate(const QDate &date) {
    if (!date.isValid())
        return;
    m_date = date;
    m_edit->setText(TvdrFormatSettings::Current().ShortDate(date));
}

void TvdrDateEdit::Commit() {
    const TvdrFormatSettings &format = TvdrFormatSettings::Current();
    const QDate typed = ParseShortDate(m_edit->text(), format.ShortDateFormat, vdrDateTime::Now().date());
    SetDate(typed.isValid() ? typed : m_date);
}

void TvdrDateEdit::ShowCalendar() {
    Commit();
    m_calendar->setSelectedDate(m_date);
    m_calendar->adjustSize();
    m_calendar->move(mapToGlobal(QPoint(0, height())));
    m_calendar->show();
    m_calendar->setFocus();
}

bool TvdrDateEdit::eventFilter(QObject *watched, QEvent *event) {
    if (watched == m_edit && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Down && (key->modifiers() & Qt::AltModifier)) {
            ShowCalendar();
            return true;
        }
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter)
            Commit(); // and the dialog's default button still gets the key
    }
    return QWidget::eventFilter(watched, event);
}
