#pragma once

#include <QPlainTextEdit>
#include <QStyledItemDelegate>
#include <QValidator>

class QLineEdit;

// Text the database's code page cannot hold is refused as it is typed, so
// nothing the user typed is changed when it is stored.
class TvdrCodePageValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString &input, int &pos) const override;
};

// Gives `edit` the validator (owned by the edit).
void RefuseUnstorableText(QLineEdit *edit);

// A multi-line edit with the same rule: typed characters the code page
// cannot hold are dropped, and pasted ones become "?" where they stand.
class TvdrMemo : public QPlainTextEdit {
public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void inputMethodEvent(QInputMethodEvent *event) override;
    void insertFromMimeData(const QMimeData *source) override;
};

// Cell editors of a grid or list that stores its text, with the same rule.
class TvdrCodePageDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
};
