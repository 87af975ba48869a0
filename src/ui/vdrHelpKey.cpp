#include "vdrHelpKey.h"

#include "vdrHelpTopic.h"
#include "vdrHelpWindow.h"

#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace {

bool IsHelpKey(const QEvent *event) {
    if (event->type() != QEvent::ShortcutOverride && event->type() != QEvent::KeyPress)
        return false;
    const auto *key = static_cast<const QKeyEvent *>(event);
    return key->key() == Qt::Key_F1 && (key->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
}

} // namespace

void TvdrHelpKey::Install() {
    static TvdrHelpKey *const key = [] {
        auto *filter = new TvdrHelpKey(qApp);
        qApp->installEventFilter(filter);
        return filter;
    }();
    Q_UNUSED(key);
}

bool TvdrHelpKey::eventFilter(QObject *watched, QEvent *event) {
    if (!IsHelpKey(event))
        return false;
    if (event->type() == QEvent::ShortcutOverride) {
        // Claimed for the key press that follows, which then reaches us
        // instead of a shortcut.
        event->accept();
        return true;
    }
    // A key press passes the window before the focused widget; act on the
    // widget, which knows its topic.
    auto *widget = qobject_cast<QWidget *>(watched);
    if (!widget)
        return false;
    if (!static_cast<QKeyEvent *>(event)->isAutoRepeat())
        ShowHelp(HelpTopicAt(widget), widget);
    return true;
}
