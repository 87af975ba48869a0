vandor_add_test(vandor_shell_tests SOURCES
  shell/vdrLogTest.cpp
)
