#include "vdrCodePageInput.h"

#include "vdrCodePage.h"

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMimeData>

QValidator::State TvdrCodePageValidator::validate(QString &input, int &) const {
    return vdrCodePage::CanEncode(input) ? Acceptable : Invalid;
}

void RefuseUnstorableText(QLineEdit *edit) {
    edit->setValidator(new TvdrCodePageValidator(edit));
}

void TvdrMemo::keyPressEvent(QKeyEvent *event) {
    if (!event->text().isEmpty() && !vdrCodePage::CanEncode(event->text())) {
        event->accept();
        return;
    }
    QPlainTextEdit::keyPressEvent(event);
}

void TvdrMemo::inputMethodEvent(QInputMethodEvent *event) {
    if (!vdrCodePage::CanEncode(event->commitString())) {
        event->setCommitString(QString());
    }
    QPlainTextEdit::inputMethodEvent(event);
}

void TvdrMemo::insertFromMimeData(const QMimeData *source) {
    if (!source->hasText())
        return;
    QString text = source->text();
    for (QChar &ch : text)
        if (!vdrCodePage::CanEncode(ch))
            ch = QLatin1Char('?');
    insertPlainText(text);
}

QWidget *TvdrCodePageDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                            const QModelIndex &index) const {
    QWidget *editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto *edit = qobject_cast<QLineEdit *>(editor))
        RefuseUnstorableText(edit);
    return editor;
}
