vandor_add_test(vandor_storage_tests SOURCES
  storage/kvxSfJournalTest.cpp
  storage/kvxSfPendingTest.cpp
  storage/kvxSfTocTest.cpp
  storage/kvxStreamFileTest.cpp
  storage/kvxTransactionTest.cpp
  storage/vdrCmRtnTest.cpp
  storage/vdrKeyAllocationTest.cpp
  storage/vdrNvListTest.cpp
  storage/vdrStringListTest.cpp
  storage/vdrTextEscapeTest.cpp
  storage/vdrCodePageTest.cpp
  storage/vdrCompareTextTest.cpp
  storage/vdrDateTextTest.cpp
  storage/vdrDateTimeTest.cpp
  storage/vdrFormatSettingsTest.cpp
  storage/vdrFormatTest.cpp
  storage/vdrLockTest.cpp
  storage/vdrRowsTest.cpp
  storage/vdrPictureImageTest.cpp
  storage/vdrPictureTest.cpp
  storage/vdrRegularFileTest.cpp
)

# Its own executable: it forks writer processes and kills them.
vandor_add_test(vandor_soak_tests SOURCES storage/kvxStreamFileSoakTest.cpp)
