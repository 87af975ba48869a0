vandor_add_test(vandor_reports_tests PAINT SOURCES
  reports/qrCarTest.cpp
  reports/qrMaintTest.cpp
  reports/qrPictureTest.cpp
  reports/qrRepairTest.cpp
  reports/vdrReportLayoutTest.cpp
  reports/vdrReportTestSupport.cpp
)
add_dependencies(vandor_reports_tests vandor_lang)
