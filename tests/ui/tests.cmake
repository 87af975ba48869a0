vandor_add_test(vandor_ui_tests GUI SOURCES
  ui/kvxLangApplyTest.cpp
  ui/vdrHelpWindowTest.cpp
  ui/vdrWindowRoutinesTest.cpp
)
add_dependencies(vandor_ui_tests vandor_lang)
