// The run-statistics log: runs counted, run time summed across runs, damaged values read
// as a fresh log.
#include <gtest/gtest.h>

#include <tuple>

#include "TestUtil.h"
#include "base/KIniFile.h"
#include "common/RunStats.h"

namespace kelvra {
namespace {

TEST(RunStats, RunsAndRunTimeAddUpOverRuns) {
  test::TempDir dir;
  const std::string file = dir.File("Kelvra.ini");
  {
    TKIniFile ini(file);
    StartRunStatistics(ini, 1000, "2025-01-01 10:00:00");
    FinishRunStatistics(ini, 91000, "2025-01-01 10:01:30");
  }
  {
    TKIniFile ini(file);
    StartRunStatistics(ini, 5, "2025-01-02 09:00:00");
    const TRunStatistics s = CurrentRunStatistics(10005);
    EXPECT_EQ(std::make_tuple(s.runs, s.runTimeMs, s.lastStart, s.lastFinish),
              std::make_tuple(2, int64_t(100000), std::string("2025-01-02 09:00:00"),
                              std::string("2025-01-01 10:01:30")));
    FinishRunStatistics(ini, 2005, "2025-01-02 09:00:02");
    FinishRunStatistics(ini, 9999, "later");  // only once per run
  }
  TKIniFile ini(file);
  EXPECT_EQ(ini.Int64("Statistics", "RunTime", false, -1), 92000);
  EXPECT_EQ(ini.Str("Statistics", "LastFinish", false, ""), "2025-01-02 09:00:02");
}

TEST(RunStats, DamagedValuesStartAFreshLog) {
  test::TempDir dir;
  test::WriteText(dir.File("Kelvra.ini"), "[Statistics]\nRunCount=many\nRunTime=-50\n");
  TKIniFile ini(dir.File("Kelvra.ini"));
  StartRunStatistics(ini, 0, "now");
  const TRunStatistics s = CurrentRunStatistics(0);
  EXPECT_EQ(std::make_pair(s.runs, s.runTimeMs), std::make_pair(1, int64_t(0)));
}

}  // namespace
}  // namespace kelvra
