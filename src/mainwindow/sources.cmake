set(VANDOR_MAINWINDOW_SOURCES
  mainwindow/fmMain.cpp
  mainwindow/vdrInstanceGuard.cpp
  mainwindow/vdrMainIcons.cpp
  mainwindow/vdrQuitSignals.cpp
  mainwindow/vdrToolbarLayout.cpp
  mainwindow/vdrTreeNodeData.cpp
)
