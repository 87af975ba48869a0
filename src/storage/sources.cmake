set(VANDOR_STORAGE_SOURCES
  storage/vdrCodePage.cpp
  storage/vdrCompareText.cpp
  storage/vdrFormat.cpp
  storage/vdrLock.cpp
)
