vandor_add_test(vandor_storage_tests SOURCES
  storage/kvxSfTocTest.cpp
  storage/kvxStreamFileTest.cpp
  storage/vdrCodePageTest.cpp
  storage/vdrCompareTextTest.cpp
  storage/vdrFormatSettingsTest.cpp
  storage/vdrFormatTest.cpp
  storage/vdrLockTest.cpp
  storage/vdrPictureTest.cpp
)
