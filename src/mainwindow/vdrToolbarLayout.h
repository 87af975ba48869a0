#pragma once

#include <QString>
#include <Qt>

class QMainWindow;
class QPoint;
class QToolBar;

// The docking toolbars of a window as rows of the options table, for every
// toolbar the window holds, in creation order, with N its name:
//   N.CurrentDock  "tbdTop", "tbdLeft" or "tbdRight"; "+" while it floats
//   N.LastDock     the dock it belongs to when docked again
//   N.DockRow      its row within the dock, N.DockPos its place in the row
//   N.FloatingPosition.X/.Y, N.FloatingWidth   where it floats
//   N.Visible      "1" or "0"
// A toolbar without a CurrentDock row keeps its designed place; missing
// numbers read as 0 and a missing Visible as hidden.
namespace vdrToolbarLayout {

void Save(QMainWindow *window);
void Restore(QMainWindow *window);

QString DockName(Qt::ToolBarArea area);
// Qt::NoToolBarArea for a name that is no dock of the window.
Qt::ToolBarArea AreaOf(const QString &dockName);

// Takes the toolbar out of its dock into a window of its own at `position`,
// `width` pixels wide (its own width for 0), as dragging it out would.
void Float(QToolBar *toolBar, const QPoint &position, int width);

} // namespace vdrToolbarLayout
