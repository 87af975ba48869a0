#pragma once

#include <QLineEdit>

// A one-line edit that takes only what can make a number: digits, one "-"
// anywhere, and (when AllowDecimals) one decimal separator of the user's
// locale. Refused keys are dropped without a word. Pasted text is not
// filtered; reading it gives 0 where it is no number.
class TkvxNbrEdit : public QLineEdit {
public:
    explicit TkvxNbrEdit(QWidget *parent = nullptr);

    bool AllowDecimals() const { return m_allowDecimals; }
    void SetAllowDecimals(bool allow) { m_allowDecimals = allow; }

    void SetIntValue(qint64 value);
    // 0 when the text is empty or not a whole number.
    qint64 GetIntValue() const;
    // Fixed, two decimals, the locale's decimal separator.
    void SetFloatValue(double value);
    // 0 when the text is not a number.
    double GetFloatValue() const;

    // Whether a typed character would be taken by the edit now.
    bool Accepts(QChar ch) const;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    bool m_allowDecimals = false;
};
