vandor_add_test(vandor_tools_tests SOURCES
  tools/vdrCliStorageTest.cpp
  LIBS vandor_cli
)
