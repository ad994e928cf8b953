#include "components/db/DriverRegistration.h"

#include <gtest/gtest.h>

namespace {

TEST(DriverRegistration, LogEntriesAreTurnedOffAndTheRestIsKept) {
  struct Case {
    const char* name;
    const char* in;
    const char* out;
  };
  const Case cases[] = {
      {"Debian's registration",
       "[PostgreSQL Unicode]\nDescription=PostgreSQL ODBC driver (Unicode version)\nDriver=psqlodbcw.so\n"
       "Debug=0\nCommLog=1\nUsageCount=1\n",
       "[PostgreSQL Unicode]\nDescription=PostgreSQL ODBC driver (Unicode version)\nDriver=psqlodbcw.so\n"
       "Debug=0\nCommLog=0\nUsageCount=1\n"},
      {"every section", "[A]\nCommLog=1\n[B]\nDebug=2\n", "[A]\nCommLog=0\n[B]\nDebug=0\n"},
      {"any case and spacing", "  commlog = 1\n\tDEBUG\t=\t1\n", "  commlog =0\n\tDEBUG\t=0\n"},
      {"line ends kept", "CommLog=1\r\nDebug=1", "CommLog=0\r\nDebug=0"},
      {"comments and look-alikes untouched", "; CommLog=1\n# Debug=1\nCommLogSize=1\nLogdir=/var/log\n",
       "; CommLog=1\n# Debug=1\nCommLogSize=1\nLogdir=/var/log\n"},
      {"a value holding the key untouched", "Description=Debug=1\n", "Description=Debug=1\n"},
      {"empty", "", ""},
  };
  for (const Case& c : cases) EXPECT_EQ(db::WithDriverLogsOff(c.in), c.out) << c.name;
}

}  // namespace
