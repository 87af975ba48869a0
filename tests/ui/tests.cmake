vandor_add_test(vandor_ui_tests GUI SOURCES
  ui/fmMaintFilterTest.cpp
  ui/frAboutTest.cpp
  ui/frMaintTest.cpp
  ui/kvxLangApplyTest.cpp
  ui/vdrApplicationTest.cpp
  ui/vdrHelpWindowTest.cpp
  ui/vdrInetTest.cpp
  ui/vdrInputControlsTest.cpp
  ui/vdrWindowRoutinesTest.cpp
  ui/vdrWindowTextsTest.cpp
)
add_dependencies(vandor_ui_tests vandor_lang)
