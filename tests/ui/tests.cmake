vandor_add_test(vandor_ui_tests GUI SOURCES
  ui/fmMaintFilterTest.cpp
  ui/fmMaintTest.cpp
  ui/fmSortTreeEditorTest.cpp
  ui/fmUDFTest.cpp
  ui/frAboutTest.cpp
  ui/frCarsTest.cpp
  ui/frMaintTest.cpp
  ui/frRepairsTest.cpp
  ui/kvxControlGridTest.cpp
  ui/kvxLangApplyTest.cpp
  ui/vdrApplicationTest.cpp
  ui/vdrHelpWindowTest.cpp
  ui/vdrInetTest.cpp
  ui/vdrInputControlsTest.cpp
  ui/vdrSvgIconEngineTest.cpp
  ui/vdrWindowRoutinesTest.cpp
  ui/vdrWindowTextsTest.cpp
)
add_dependencies(vandor_ui_tests vandor_lang)
