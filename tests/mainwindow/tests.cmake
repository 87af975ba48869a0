vandor_add_test(vandor_mainwindow_tests GUI SOURCES
  mainwindow/fmMainSortAndLayoutTest.cpp
  mainwindow/fmMainTest.cpp
  mainwindow/vdrMainWindowFixture.cpp
)
add_dependencies(vandor_mainwindow_tests vandor_lang)
