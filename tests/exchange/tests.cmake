vandor_add_test(vandor_exchange_tests SOURCES
  exchange/vdrExportBytesTest.cpp
  exchange/vdrExportTest.cpp
  exchange/vdrExchangeDeviceTest.cpp
  exchange/vdrImportXMLTest.cpp
  exchange/vdrImportTSVTest.cpp
  exchange/vdrPlainNumberTest.cpp
  exchange/vdrRoundTripTest.cpp
)
add_dependencies(vandor_exchange_tests vandor_lang)
