# Every database test runs on SQLite and, when COMPENSATO_TEST_PG names the
# test cluster, on PostgreSQL too. Without it the PostgreSQL half of the run
# is simply absent and the run is green anyway: this test says so in ctest's
# summary (skipped), and fails when COMPENSATO_REQUIRE_PG is set, as
# scripts/test sets it for CI.
if(NOT "$ENV{COMPENSATO_TEST_PG}" STREQUAL "")
  message(STATUS "PostgreSQL test cluster: $ENV{COMPENSATO_TEST_PG}")
  return()
endif()
if(NOT "$ENV{COMPENSATO_REQUIRE_PG}" STREQUAL "" AND NOT "$ENV{COMPENSATO_REQUIRE_PG}" STREQUAL "0")
  message(FATAL_ERROR "COMPENSATO_TEST_PG is not set but COMPENSATO_REQUIRE_PG is: "
                      "the database tests would run on SQLite only")
endif()
message("*** COMPENSATO_TEST_PG is not set: every database test ran on SQLite ONLY, "
        "none on PostgreSQL. Start a cluster with scripts/pgcluster (or run scripts/test). ***")
