vandor_add_test(vandor_ui_tests GUI SOURCES
  ui/fmMaintTest.cpp
  ui/frAboutTest.cpp
  ui/frRepairsTest.cpp
  ui/kvxLangApplyTest.cpp
  ui/vdrApplicationTest.cpp
  ui/vdrHelpWindowTest.cpp
  ui/vdrInetTest.cpp
  ui/vdrInputControlsTest.cpp
  ui/vdrWindowRoutinesTest.cpp
  ui/vdrWindowTextsTest.cpp
)
add_dependencies(vandor_ui_tests vandor_lang)
