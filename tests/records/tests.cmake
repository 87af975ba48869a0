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
  records/vdrGoldenBytesTest.cpp
  records/vdrDatabaseTablesTest.cpp
)
add_dependencies(vandor_records_tests vandor_lang)

# Its own executable: it forks writer processes and kills them. The long soak:
# VANDOR_SOAK_KILLS=1000 bin/vandor_command_soak_tests
vandor_add_test(vandor_command_soak_tests SOURCES records/vdrCommandSoakTest.cpp)
add_dependencies(vandor_command_soak_tests vandor_lang)
