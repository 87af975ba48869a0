vandor_add_test(vandor_tools_tests SOURCES
  tools/vdrCliLangTest.cpp
  tools/vdrCliStorageTest.cpp
  LIBS vandor_cli
)
