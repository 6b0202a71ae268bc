// The run-statistics log kept in the settings file.
#include "common/RunStats.h"

#include <algorithm>
#include <cstdint>
#include <ctime>

#include "base/KIniFile.h"
#include "platform/Services.h"

namespace kelvra {

namespace {

constexpr const char* kSection = "Statistics";

// The log as read at start-up; -1: no run started.
TRunStatistics gStats;
int64_t gStartMs = -1;

}  // namespace

void StartRunStatistics(TKIniFile& ini, int64_t nowMs, const std::string& nowText) {
  TRunStatistics s;
  s.runs = std::max(0, ini.Int(kSection, "RunCount", false, 0));
  s.runTimeMs = std::max<int64_t>(0, ini.Int64(kSection, "RunTime", false, 0));
  s.lastFinish = ini.Str(kSection, "LastFinish", false, "");
  if (s.runs < INT32_MAX) ++s.runs;
  s.lastStart = nowText;
  ini.Int(kSection, "RunCount", true, s.runs);
  ini.Str(kSection, "LastStart", true, s.lastStart);
  gStats = s;
  gStartMs = nowMs;
}

void FinishRunStatistics(TKIniFile& ini, int64_t nowMs, const std::string& nowText) {
  if (gStartMs < 0) return;
  gStats = CurrentRunStatistics(nowMs);
  gStats.lastFinish = nowText;
  gStartMs = -1;
  ini.Int64(kSection, "RunTime", true, gStats.runTimeMs);
  ini.Str(kSection, "LastFinish", true, gStats.lastFinish);
}

namespace {
// The local time as the log stores it: "yyyy-MM-dd hh:mm:ss".
std::string LocalNow() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  char text[32];
  std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
  return text;
}
}  // namespace

void StartRunStatistics(TKIniFile& ini) {
  StartRunStatistics(ini, Platform().NowMs(), LocalNow());
}
void FinishRunStatistics(TKIniFile& ini) {
  FinishRunStatistics(ini, Platform().NowMs(), LocalNow());
}

TRunStatistics CurrentRunStatistics(int64_t nowMs) {
  TRunStatistics s = gStats;
  if (gStartMs >= 0 && nowMs > gStartMs) {
    const int64_t run = nowMs - gStartMs;
    s.runTimeMs = s.runTimeMs > INT64_MAX - run ? INT64_MAX : s.runTimeMs + run;
  }
  return s;
}

}  // namespace kelvra
