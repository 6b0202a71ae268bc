// The about box and the run-statistics log.
#include "dialogs/AboutBox.h"

#include <QDateTime>
#include <QMessageBox>
#include <QWidget>
#include <algorithm>

#include "dialogs/InfoWindow.h"
#include "platform/Services.h"
#include "shell/KIniFile.h"

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
std::string LocalNow() {
  return QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss")).toStdString();
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

QString AboutText(const TRunStatistics& stats) {
  QString text = QStringLiteral(
                     "<b>Kelvra</b> %1<p>Brickfall, Monsters and Burrower in one window, "
                     "with a level editor.<p>Made by the Kelvra developers, with Qt, SDL, "
                     "FluidSynth, FreeType and libjpeg.")
                     .arg(QStringLiteral(KELVRA_VERSION));
  if (stats.runs > 0) {
    text += QStringLiteral("<p>Runs: %1<br>Run time: %2")
                .arg(stats.runs)
                .arg(InfoDuration(stats.runTimeMs));
    if (!stats.lastStart.empty())
      text += QStringLiteral("<br>Started: %1")
                  .arg(QString::fromStdString(stats.lastStart).toHtmlEscaped());
    if (!stats.lastFinish.empty())
      text += QStringLiteral("<br>Last finished: %1")
                  .arg(QString::fromStdString(stats.lastFinish).toHtmlEscaped());
  }
  return text;
}

void ShowAboutBox(QWidget* parent) {
  QMessageBox box(parent);
  box.setObjectName(QStringLiteral("fAbout"));
  box.setWindowTitle(QStringLiteral("About Kelvra"));
  box.setTextFormat(Qt::RichText);
  box.setText(AboutText(CurrentRunStatistics(Platform().NowMs())));
  box.setStandardButtons(QMessageBox::Ok);
  box.exec();
}

}  // namespace kelvra
