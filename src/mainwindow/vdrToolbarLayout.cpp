#include "vdrToolbarLayout.h"

#include "vdrOptions.h"
#include "vdrWindowRoutines.h"

#include <QMainWindow>
#include <QToolBar>

#include <algorithm>
#include <map>
#include <vector>

namespace vdrToolbarLayout {

namespace {

QList<QToolBar *> ToolBarsOf(QMainWindow *window) {
    return window->findChildren<QToolBar *>(QString(), Qt::FindDirectChildrenOnly);
}

bool Horizontal(Qt::ToolBarArea area) {
    return area == Qt::TopToolBarArea || area == Qt::BottomToolBarArea;
}

// Rows across the dock, places along a row.
int Across(const QToolBar *bar, Qt::ToolBarArea area) {
    return Horizontal(area) ? bar->y() : bar->x();
}
int Along(const QToolBar *bar, Qt::ToolBarArea area) {
    return Horizontal(area) ? bar->x() : bar->y();
}

struct TDockPlace {
    int Row = 0;
    int Pos = 0;
};

// Row and place of every docked toolbar, read off the laid-out window.
std::map<const QToolBar *, TDockPlace> DockPlaces(QMainWindow *window) {
    std::map<const QToolBar *, TDockPlace> places;
    for (Qt::ToolBarArea area :
         {Qt::TopToolBarArea, Qt::LeftToolBarArea, Qt::RightToolBarArea, Qt::BottomToolBarArea}) {
        std::vector<QToolBar *> docked;
        for (QToolBar *bar : ToolBarsOf(window))
            if (!bar->isFloating() && window->toolBarArea(bar) == area)
                docked.push_back(bar);
        std::vector<int> rows;
        for (QToolBar *bar : docked)
            rows.push_back(Across(bar, area));
        std::sort(rows.begin(), rows.end());
        rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
        for (QToolBar *bar : docked) {
            const int row = int(std::lower_bound(rows.begin(), rows.end(), Across(bar, area)) - rows.begin());
            int pos = 0;
            for (QToolBar *other : docked)
                if (other != bar && Across(other, area) == Across(bar, area) &&
                    Along(other, area) < Along(bar, area))
                    ++pos;
            places[bar] = {row, pos};
        }
    }
    return places;
}

QString Key(const QToolBar *bar, const char *name) {
    return bar->objectName() + QLatin1Char('.') + QLatin1String(name);
}

QString Read(const QToolBar *bar, const char *name) {
    Options().SetDefault(QString());
    return Options().GetValue(Key(bar, name));
}

int ReadInt(const QToolBar *bar, const char *name) {
    return Read(bar, name).toInt();
}

void Write(const QToolBar *bar, const char *name, const QString &value) {
    Options().SetValue(Key(bar, name), value);
}

void Write(const QToolBar *bar, const char *name, int value) {
    Write(bar, name, QString::number(value));
}

} // namespace

QString DockName(Qt::ToolBarArea area) {
    switch (area) {
    case Qt::TopToolBarArea:
        return QStringLiteral("tbdTop");
    case Qt::LeftToolBarArea:
        return QStringLiteral("tbdLeft");
    case Qt::RightToolBarArea:
        return QStringLiteral("tbdRight");
    default:
        return QStringLiteral("+");
    }
}

Qt::ToolBarArea AreaOf(const QString &dockName) {
    for (Qt::ToolBarArea area : {Qt::TopToolBarArea, Qt::LeftToolBarArea, Qt::RightToolBarArea})
        if (dockName == DockName(area))
            return area;
    return Qt::NoToolBarArea;
}

void Float(QToolBar *toolBar, const QPoint &position, int width) {
    // A floating toolbar stays in the window's layout, which passes over it
    // while it is a window; dragging it back docks it as usual.
    toolBar->setWindowFlags(Qt::Tool | Qt::FramelessWindowHint | Qt::X11BypassWindowManagerHint);
    toolBar->adjustSize();
    if (width > 0)
        toolBar->resize(width, toolBar->height());
    toolBar->move(position);
    KeepOnScreen(toolBar);
    toolBar->show();
}

void Save(QMainWindow *window) {
    const auto places = DockPlaces(window);
    for (QToolBar *bar : ToolBarsOf(window)) {
        const bool floating = bar->isFloating();
        const auto place = places.find(bar);
        Write(bar, "CurrentDock", floating ? QStringLiteral("+") : DockName(window->toolBarArea(bar)));
        Write(bar, "LastDock", DockName(window->toolBarArea(bar)));
        Write(bar, "DockPos", place == places.end() ? 0 : place->second.Pos);
        Write(bar, "DockRow", place == places.end() ? 0 : place->second.Row);
        Write(bar, "FloatingPosition.X", floating ? bar->x() : 0);
        Write(bar, "FloatingPosition.Y", floating ? bar->y() : 0);
        Write(bar, "FloatingWidth", floating ? bar->width() : 0);
        Write(bar, "Visible", bar->isHidden() ? QStringLiteral("0") : QStringLiteral("1"));
    }
}

void Restore(QMainWindow *window) {
    struct TRestored {
        QToolBar *Bar;
        Qt::ToolBarArea Area;
        int Row;
        int Pos;
    };
    std::vector<TRestored> docked;
    std::vector<QToolBar *> floating;
    for (QToolBar *bar : ToolBarsOf(window)) {
        const QString current = Read(bar, "CurrentDock");
        if (current.isEmpty())
            continue;
        const Qt::ToolBarArea area =
            current == QLatin1String("+") ? AreaOf(Read(bar, "LastDock")) : AreaOf(current);
        if (area != Qt::NoToolBarArea)
            docked.push_back({bar, area, ReadInt(bar, "DockRow"), ReadInt(bar, "DockPos")});
        if (current == QLatin1String("+"))
            floating.push_back(bar);
    }
    // Re-adding in row and place order rebuilds each dock's rows.
    std::stable_sort(docked.begin(), docked.end(), [](const TRestored &a, const TRestored &b) {
        return a.Area != b.Area ? a.Area < b.Area : a.Row != b.Row ? a.Row < b.Row : a.Pos < b.Pos;
    });
    for (size_t i = 0; i < docked.size(); ++i) {
        const TRestored &r = docked[i];
        if (i > 0 && docked[i - 1].Area == r.Area && docked[i - 1].Row != r.Row)
            window->addToolBarBreak(r.Area);
        window->addToolBar(r.Area, r.Bar);
    }
    for (QToolBar *bar : floating)
        Float(bar, QPoint(ReadInt(bar, "FloatingPosition.X"), ReadInt(bar, "FloatingPosition.Y")),
              ReadInt(bar, "FloatingWidth"));
    for (QToolBar *bar : ToolBarsOf(window))
        if (!Read(bar, "CurrentDock").isEmpty())
            bar->setVisible(Read(bar, "Visible") == QLatin1String("1"));
}

} // namespace vdrToolbarLayout
