#pragma once

#include <QDate>
#include <QWidget>

class QCalendarWidget;
class QLineEdit;
class QToolButton;

// A date edit in the user's short date format with a drop-down calendar
// (the button, or Alt+Down). Typed text is read when the edit is left or
// Enter is pressed: a missing year is this year, two-digit years fall into
// 1951 to 2050, "/" alone is today. Text that is no date gives the last
// date back.
class TvdrDateEdit : public QWidget {
public:
    explicit TvdrDateEdit(QWidget *parent = nullptr);

    QDate Date() const;
    void SetDate(const QDate &date);
    QLineEdit *Edit() const { return m_edit; }
    QCalendarWidget *Calendar() const { return m_calendar; }

    // Reads the typed text now (as leaving the edit would).
    void Commit();
    void ShowCalendar();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QLineEdit *m_edit;
    QToolButton *m_button;
    QCalendarWidget *m_calendar;
    QDate m_date;
};
