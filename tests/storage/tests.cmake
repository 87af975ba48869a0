vandor_add_test(vandor_storage_tests SOURCES
  storage/vdrCodePageTest.cpp
  storage/vdrCompareTextTest.cpp
  storage/vdrFormatTest.cpp
  storage/vdrLockTest.cpp
)
