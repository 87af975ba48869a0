vandor_add_test(vandor_shell_tests SOURCES
  shell/kvxLangSourceTest.cpp
  shell/vdrLogTest.cpp
)
