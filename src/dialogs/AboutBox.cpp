// The about box.
#include "dialogs/AboutBox.h"

#include <QMessageBox>
#include <QWidget>

#include "common/RunStats.h"
#include "dialogs/InfoWindow.h"
#include "platform/Services.h"

namespace kelvra {

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
