vandor_add_test(vandor_records_tests SOURCES
  records/vdrCarsTest.cpp
  records/vdrDatabaseCheckTest.cpp
  records/vdrUDFTest.cpp
  records/vdrRepairsTest.cpp
  records/vdrMaintTest.cpp
  records/vdrMaintLinksTest.cpp
  records/vdrMaintFilterTest.cpp
  records/vdrMaintFilterValuesTest.cpp
  records/vdrSortOrderTest.cpp
  records/vdrTableTransactionTest.cpp
)
add_dependencies(vandor_records_tests vandor_lang)
