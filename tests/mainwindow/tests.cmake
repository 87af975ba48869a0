# A stand-in for the program that runs the instance guard, so the tests can
# start several copies of it.
add_executable(vandor_guard_copy mainwindow/vdrGuardCopy.cpp)
target_link_libraries(vandor_guard_copy PRIVATE vandor_gui)

vandor_add_test(vandor_mainwindow_tests GUI SOURCES
  mainwindow/fmMainRepairsTest.cpp
  mainwindow/fmMainSortAndLayoutTest.cpp
  mainwindow/fmMainTest.cpp
  mainwindow/vdrInstanceGuardTest.cpp
  mainwindow/vdrMainWindowFixture.cpp
)
add_dependencies(vandor_mainwindow_tests vandor_lang vandor_guard_copy)
