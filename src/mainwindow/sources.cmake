set(VANDOR_MAINWINDOW_SOURCES
  mainwindow/vdrInstanceGuard.cpp
)
