vandor_add_test(vandor_tools_tests SOURCES
  tools/vdrCliExchangeTest.cpp
  tools/vdrCliLangTest.cpp
  tools/vdrCliRecordsTest.cpp
  tools/vdrCliReportTest.cpp
  tools/vdrCliStorageTest.cpp
  LIBS vandor_cli
)
add_dependencies(vandor_tools_tests vandor_lang)
