vandor_add_test(vandor_shell_tests SOURCES
  shell/kvxLangSourceTest.cpp
  shell/vdrExtFilesTest.cpp
  shell/vdrLogTest.cpp
)
