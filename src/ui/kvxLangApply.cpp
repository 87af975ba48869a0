#include "kvxLangApply.h"

#include "kvxControlGrid.h"
#include "kvxLang.h"
#include "vdrLock.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTableWidget>
#include <QTextBrowser>
#include <QTextEdit>
#include <QToolBar>
#include <QTreeWidget>

#include <functional>

namespace {

// One text-bearing property of one object: its key, what it holds now, and
// how to give it a new text.
struct TWindowText {
    QString Key;
    QString Current;
    std::function<void(const QString &)> Apply;
};

bool IsFormOrFrame(const QObject *object, const QObject *root) {
    if (object == root)
        return true;
    const auto *widget = qobject_cast<const QWidget *>(object);
    if (!widget)
        return false;
    static const QRegularExpression prefix(QStringLiteral("^(frm|fra)[A-Z]"));
    return qobject_cast<const QDialog *>(widget) || qobject_cast<const QMainWindow *>(widget) ||
           prefix.match(widget->objectName()).hasMatch();
}

bool IsSharedButton(const QObject *object) {
    if (!qobject_cast<const QPushButton *>(object))
        return false;
    const QString name = object->objectName();
    for (const char *shared : {"btnOK", "btnCancel", "btnApply"})
        if (name.compare(QLatin1String(shared), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

QStringList LinesOf(const QString &text) {
    QString plain = text;
    plain.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return plain.split(QLatin1Char('\n'));
}

// The tab widget whose page `widget` is, and the page's index there.
QTabWidget *TabOf(QWidget *widget, int &index) {
    auto *stack = qobject_cast<QStackedWidget *>(widget->parentWidget());
    auto *tabs = stack ? qobject_cast<QTabWidget *>(stack->parentWidget()) : nullptr;
    index = tabs ? tabs->indexOf(widget) : -1;
    return index >= 0 ? tabs : nullptr;
}

void AddCaption(QObject *object, const QString &key, QList<TWindowText> &texts) {
    if (auto *action = qobject_cast<QAction *>(object)) {
        if (!action->isSeparator() && !action->menu())
            texts.append({key, action->text(), [action](const QString &t) { action->setText(t); }});
    } else if (auto *menu = qobject_cast<QMenu *>(object)) {
        texts.append({key, menu->title(), [menu](const QString &t) { menu->setTitle(t); }});
    } else if (auto *label = qobject_cast<QLabel *>(object)) {
        texts.append({key, label->text(), [label](const QString &t) { label->setText(t); }});
    } else if (auto *button = qobject_cast<QAbstractButton *>(object)) {
        texts.append({key, button->text(), [button](const QString &t) { button->setText(t); }});
    } else if (auto *group = qobject_cast<QGroupBox *>(object)) {
        texts.append({key, group->title(), [group](const QString &t) { group->setTitle(t); }});
    } else if (auto *widget = qobject_cast<QWidget *>(object)) {
        int index = -1;
        if (QTabWidget *tabs = TabOf(widget, index))
            texts.append(
                {key, tabs->tabText(index), [tabs, index](const QString &t) { tabs->setTabText(index, t); }});
        else if (IsFormOrFrame(widget, nullptr) || qobject_cast<QToolBar *>(widget))
            texts.append(
                {key, widget->windowTitle(), [widget](const QString &t) { widget->setWindowTitle(t); }});
    }
}

// An action's tool tip defaults to its text without "&" and a trailing
// "...": such a tip was not designed.
QString DesignedTip(const QAction *action) {
    QString text = action->text();
    text.remove(QRegularExpression(QStringLiteral("&(?!&)")));
    if (text.endsWith(QLatin1String("...")))
        text.chop(3);
    return action->toolTip() == text.trimmed() ? QString() : action->toolTip();
}

void AddHint(QObject *object, const QString &key, QList<TWindowText> &texts) {
    if (auto *action = qobject_cast<QAction *>(object)) {
        if (!action->isSeparator())
            texts.append({key, DesignedTip(action), [action](const QString &t) {
                              action->setToolTip(t);
                              action->setStatusTip(t);
                          }});
    } else if (auto *widget = qobject_cast<QWidget *>(object)) {
        texts.append({key, widget->toolTip(), [widget](const QString &t) { widget->setToolTip(t); }});
    }
}

void AddLinesAndItems(QObject *object, const QString &prefix, QList<TWindowText> &texts) {
    if (auto *memo = qobject_cast<QPlainTextEdit *>(object)) {
        texts.append({prefix + QStringLiteral("Lines.Strings"), memo->toPlainText(),
                      [memo](const QString &t) { memo->setPlainText(LinesOf(t).join(QLatin1Char('\n'))); }});
    } else if (auto *rich = qobject_cast<QTextEdit *>(object);
               rich && !qobject_cast<QTextBrowser *>(object)) {
        // A browser shows documents, not designed lines.
        texts.append({prefix + QStringLiteral("Lines.Strings"), rich->toPlainText(),
                      [rich](const QString &t) { rich->setPlainText(LinesOf(t).join(QLatin1Char('\n'))); }});
    } else if (auto *combo = qobject_cast<QComboBox *>(object)) {
        QStringList items;
        for (int i = 0; i < combo->count(); ++i)
            items.append(combo->itemText(i));
        texts.append({prefix + QStringLiteral("Items.Strings"), items.join(QLatin1Char('\n')),
                      [combo](const QString &t) {
                          const int current = combo->currentIndex();
                          combo->clear();
                          combo->addItems(LinesOf(t));
                          combo->setCurrentIndex(qMin(current, combo->count() - 1));
                      }});
    } else if (auto *list = qobject_cast<QListWidget *>(object)) {
        QStringList items;
        for (int i = 0; i < list->count(); ++i)
            items.append(list->item(i)->text());
        texts.append({prefix + QStringLiteral("Items.Strings"), items.join(QLatin1Char('\n')),
                      [list](const QString &t) {
                          list->clear();
                          list->addItems(LinesOf(t));
                      }});
    }
}

// Column i takes line i; columns past the last line keep their captions.
void AddColumns(QObject *object, const QString &prefix, QList<TWindowText> &texts) {
    const QString key = prefix + QStringLiteral("Columns.Items");
    if (auto *tree = qobject_cast<QTreeWidget *>(object)) {
        if (tree->isHeaderHidden())
            return;
        QStringList captions;
        for (int i = 0; i < tree->columnCount(); ++i)
            captions.append(tree->headerItem()->text(i));
        texts.append({key, captions.join(QString()), [tree](const QString &t) {
                          const QStringList lines = LinesOf(t);
                          for (int i = 0; i < lines.size() && i < tree->columnCount(); ++i)
                              tree->headerItem()->setText(i, lines[i]);
                      }});
    } else if (auto *grid = qobject_cast<QTableWidget *>(object)) {
        if (grid->horizontalHeader()->isHidden())
            return;
        QStringList captions;
        for (int i = 0; i < grid->columnCount(); ++i)
            if (QTableWidgetItem *item = grid->horizontalHeaderItem(i))
                captions.append(item->text());
        texts.append({key, captions.join(QString()), [grid](const QString &t) {
                          const QStringList lines = LinesOf(t);
                          for (int i = 0; i < lines.size() && i < grid->columnCount(); ++i)
                              grid->setHorizontalHeaderItem(i, new QTableWidgetItem(lines[i]));
                      }});
    } else if (auto *controls = qobject_cast<TkvxControlGrid *>(object)) {
        texts.append({key, controls->HeaderTexts().join(QString()),
                      [controls](const QString &t) { controls->SetHeaderTexts(LinesOf(t)); }});
    }
}

QList<TWindowText> TextsOf(QObject *object, const QObject *root, const QString &scope) {
    QList<TWindowText> texts;
    const QString name = object->objectName();
    if (name.isEmpty() || name.startsWith(QLatin1String("qt_")))
        return texts;
    const QString prefix =
        (IsFormOrFrame(object, root) || IsSharedButton(object) ? name : scope + QLatin1Char('.') + name) +
        QLatin1Char('.');
    AddCaption(object, prefix + QStringLiteral("Caption"), texts);
    AddHint(object, prefix + QStringLiteral("Hint"), texts);
    AddLinesAndItems(object, prefix, texts);
    AddColumns(object, prefix, texts);
    return texts;
}

// Depth first, parent before children, children in creation order.
void Walk(QObject *object, const QObject *root, const QString &scope,
          const std::function<void(QObject *, const QList<TWindowText> &)> &visit) {
    visit(object, TextsOf(object, root, scope));
    const QObjectList children = object->children();
    for (QObject *child : children)
        Walk(child, root, scope, visit);
}

void Apply(QWidget *root) {
    if (!root)
        return;
    TkvxLang &lang = Lang();
    TvdrWriteGuard guard(lang.Lock());
    lang.SetScope(root->objectName());
    Walk(root, root, lang.Scope(), [&lang](QObject *, const QList<TWindowText> &texts) {
        for (const TWindowText &text : texts) {
            const QString value = lang.GetText(text.Key);
            if (!value.isEmpty())
                text.Apply(value);
        }
    });
}

} // namespace

void ApplyToForm(QWidget *form) {
    Apply(form);
}

void ApplyToFrame(QWidget *frame) {
    Apply(frame);
}

QStringList MissingWindowTexts(QWidget *form) {
    QStringList missing;
    if (!form)
        return missing;
    TkvxLang &lang = Lang();
    Walk(form, form, form->objectName(), [&](QObject *, const QList<TWindowText> &texts) {
        for (const TWindowText &text : texts)
            if (!text.Current.isEmpty() && lang.GetText(text.Key).isEmpty())
                missing.append(text.Key);
    });
    return missing;
}
