vandor_add_test(vandor_shell_tests SOURCES
  shell/kvxLangSourceTest.cpp
  shell/kvxLangTest.cpp
  shell/kvxVersInfoTest.cpp
  shell/vdrExtFilesTest.cpp
  shell/kvxTrimWorkingSetTest.cpp
  shell/vdrLogTest.cpp
  shell/vdrMoveFileTest.cpp
  shell/vdrOptionsTest.cpp
)
add_dependencies(vandor_shell_tests vandor_lang)
