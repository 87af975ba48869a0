#include "vdrWindowRoutines.h"

#include "vdrProgramFolder.h"
#include "vdrPrompts.h"
#include "vdrStrUtils.h"

#include <QDir>
#include <QGuiApplication>
#include <QScreen>
#include <QStringList>
#include <QWidget>

#include <climits>

bool AnsweredNo(const QString &message) {
    return !Prompts().AskYesNo(message);
}

void ShowError(const QString &message) {
    Prompts().Message(TvdrPrompts::TKind::Error, message);
}

void ShowWarning(const QString &message) {
    Prompts().Message(TvdrPrompts::TKind::Warning, message);
}

void ShowInfo(const QString &message) {
    Prompts().Message(TvdrPrompts::TKind::Info, message);
}

QString InputBox(const QString &caption, const QString &prompt, const QString &text, bool *accepted) {
    bool ok = false;
    const QString typed = Prompts().InputBox(caption, prompt, text, ok);
    if (accepted)
        *accepted = ok;
    return ok ? typed : text;
}

QString BrowseFolder(const QString &caption, const QString &folder, const QString &) {
    return Prompts().BrowseFolder(caption, folder);
}

QString OpenFile(const QString &title, const QString &filter, const QString &folder) {
    // An installed program's folder holds nothing of the user's: start at home.
    const QString start = !folder.isEmpty()         ? folder
                          : ProgramFolderWritable() ? ProgramFolder()
                                                    : QDir::homePath();
    return Prompts().OpenFile(title, QtFileFilter(filter), start);
}

QString SaveFile(const QString &title, const QString &filter, const QString &fileName) {
    return Prompts().SaveFile(title, QtFileFilter(filter), fileName);
}

void ShellOpen(const QString &target) {
    if (!target.isEmpty())
        Prompts().ShellOpen(target);
}

QString QtFileFilter(const QString &pairs) {
    const QStringList parts = pairs.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i].trimmed();
        const QString patterns =
            parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts).join(QLatin1Char(' '));
        // Qt reads the patterns from the description's last parentheses, so
        // a description that shows its own patterns loses them first.
        if (description.endsWith(QLatin1Char(')')) && description.contains(QLatin1Char('(')))
            description = description.left(description.lastIndexOf(QLatin1Char('('))).trimmed();
        filters.append(QStringLiteral("%1 (%2)").arg(description, patterns.trimmed()));
    }
    return filters.join(QStringLiteral(";;"));
}

namespace {

int StateOf(const QWidget *window) {
    if (window->windowState() & Qt::WindowMaximized)
        return 2;
    if (window->windowState() & Qt::WindowMinimized)
        return 1;
    return 0;
}

int NumberOrMissing(const QString &word) {
    bool ok = false;
    const int value = word.toInt(&ok);
    return ok ? value : -999;
}

bool Sizeable(const QWidget *window) {
    return window->minimumSize() != window->maximumSize();
}

qint64 DistanceSquared(const QRect &area, const QPoint &point) {
    const qint64 dx = point.x() < area.left()    ? area.left() - point.x()
                      : point.x() > area.right() ? point.x() - area.right()
                                                 : 0;
    const qint64 dy = point.y() < area.top()      ? area.top() - point.y()
                      : point.y() > area.bottom() ? point.y() - area.bottom()
                                                  : 0;
    return dx * dx + dy * dy;
}

// The screen under the window's centre; when no screen is there (a monitor
// that has gone), the nearest one.
QScreen *ScreenOf(const QRect &frame) {
    const QPoint centre = frame.center();
    if (QScreen *screen = QGuiApplication::screenAt(centre))
        return screen;
    QScreen *nearest = nullptr;
    qint64 best = LLONG_MAX;
    for (QScreen *screen : QGuiApplication::screens()) {
        const qint64 distance = DistanceSquared(screen->geometry(), centre);
        if (distance < best) {
            best = distance;
            nearest = screen;
        }
    }
    return nearest ? nearest : QGuiApplication::primaryScreen();
}

bool Inside(const QRect &area, int x, int y) {
    return area.left() <= x && x < area.left() + area.width() && area.top() <= y &&
           y < area.top() + area.height();
}

} // namespace

QString GetPlacement(const QWidget *window) {
    const int state = StateOf(window);
    if (state == 2)
        return QStringLiteral("2");
    return QStringLiteral("%1 %2 %3 %4 %5")
        .arg(state)
        .arg(window->pos().y())
        .arg(window->pos().x())
        .arg(window->height())
        .arg(window->width());
}

void SetPlacement(QWidget *window, const QString &text) {
    const QString blank = QStringLiteral(" ");
    const QString stateWord = ExtractWord(1, text, blank);
    bool stateOk = false;
    int state = stateWord.toInt(&stateOk);
    if (!stateOk)
        state = StateOf(window);
    const int top = NumberOrMissing(ExtractWord(2, text, blank));
    const int left = NumberOrMissing(ExtractWord(3, text, blank));
    const int height = NumberOrMissing(ExtractWord(4, text, blank));
    const int width = NumberOrMissing(ExtractWord(5, text, blank));
    if (top != -999 || left != -999 || height != -999 || width != -999) {
        window->move(left != -999 ? left : window->pos().x(), top != -999 ? top : window->pos().y());
        if (Sizeable(window))
            window->resize(width != -999 ? width : window->width(),
                           height != -999 ? height : window->height());
    }
    KeepOnScreen(window);
    const Qt::WindowStates normal = window->windowState() & ~(Qt::WindowMinimized | Qt::WindowMaximized);
    window->setWindowState(normal);
    if (state == 1)
        window->setWindowState(normal | Qt::WindowMinimized);
    else if (state == 2)
        window->setWindowState(normal | Qt::WindowMaximized);
}

void KeepOnScreen(QWidget *window) {
    const QRect frame(window->pos(), window->frameGeometry().size());
    QScreen *screen = ScreenOf(frame);
    if (!screen)
        return;
    const QRect area = screen->availableGeometry();
    int left = frame.x();
    int top = frame.y();
    const int width = frame.width();
    const int height = frame.height();
    if (!Inside(area, left, top)) {
        if (left < area.left())
            left = area.left();
        if (top < area.top())
            top = area.top();
    }
    const int areaRight = area.left() + area.width();
    const int areaBottom = area.top() + area.height();
    if (!Inside(area, left + width, top + height)) {
        // A window larger than the area keeps its top-left corner (and so
        // its title bar) on the area rather than moving off its far side.
        if (areaRight < left + width)
            left = qMax(area.left(), areaRight - width);
        if (areaBottom < top + height)
            top = qMax(area.top(), areaBottom - height);
    }
    if (left != frame.x() || top != frame.y())
        window->move(left, top);
}
