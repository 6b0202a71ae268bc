// The run-statistics log kept in the settings file (section "Statistics"): runs counted,
// their time summed, the last start and finish.
#pragma once

#include <cstdint>
#include <string>

namespace kelvra {

class TKIniFile;

struct TRunStatistics {
  int32_t runs = 0;        // "RunCount": runs started, this one included
  int64_t runTimeMs = 0;   // "RunTime": total of the finished runs, ms
  std::string lastStart;   // "LastStart": "yyyy-MM-dd hh:mm:ss", local time
  std::string lastFinish;  // "LastFinish"
};

// At start-up: reads the log, counts this run and notes its start. At the end, before the
// settings file is saved: adds this run's time and notes its finish. `nowMs` is a
// monotonic clock in ms, `nowText` the local time as stored.
void StartRunStatistics(TKIniFile& ini, int64_t nowMs, const std::string& nowText);
void FinishRunStatistics(TKIniFile& ini, int64_t nowMs, const std::string& nowText);
// The same with the platform's clock and the local time.
void StartRunStatistics(TKIniFile& ini);
void FinishRunStatistics(TKIniFile& ini);
// The log as the about box shows it: the finished runs' time plus this run's so far.
TRunStatistics CurrentRunStatistics(int64_t nowMs);

}  // namespace kelvra
